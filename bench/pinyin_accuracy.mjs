// Scores kscgen's pinyin initials against the pinyin library pinyin-pro on
// the songs of pinyin_songs.txt: the singer in the library's surname mode,
// the whole title in its normal mode. Prints every disagreement, marked where
// pinyin_library_wrong.tsv says the library is the one that is wrong, then
// the share of songs whose singer and whose title agree.
//
//   node bench/pinyin_accuracy.mjs SONGS SONG_INITIALS_PROGRAM
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const require = createRequire(import.meta.url);
const { pinyin } = require(join(here, 'node_modules', 'pinyin-pro'));
const version = JSON.parse(
  readFileSync(join(here, 'node_modules', 'pinyin-pro', 'package.json'), 'utf8')).version;

const [songsPath, program] = process.argv.slice(2);
const songsText = readFileSync(songsPath, 'utf8');
const ours = execFileSync(program, { input: songsText, encoding: 'utf8' }).split('\n');

// text, field (singer or title), the right initials, why.
const wrong = new Map();
for (const line of readFileSync(join(here, 'pinyin_library_wrong.tsv'), 'utf8').split('\n')) {
  if (!line || line.startsWith('#')) continue;
  const [text, field, initials, why] = line.split('\t');
  wrong.set(`${field}\t${text}`, { initials, why });
}

function library(text, field) {
  const options = { pattern: 'first', toneType: 'none', type: 'array' };
  if (field === 'singer') options.mode = 'surname';
  return pinyin(text, options).join('').toUpperCase();
}

const tally = { singer: { agree: 0, all: 0 }, title: { agree: 0, all: 0 } };
const disagreements = [];
songsText.split('\n').forEach((line, i) => {
  if (!line || line.startsWith('#')) return;
  const [singer, title] = line.split('－');
  const [ourSinger, ourTitle] = ours[i].split('\t');
  for (const [field, text, our] of [['singer', singer, ourSinger], ['title', title, ourTitle]]) {
    const theirs = library(text, field);
    tally[field].all += 1;
    if (theirs === our) {
      tally[field].agree += 1;
      continue;
    }
    const known = wrong.get(`${field}\t${text}`);
    const note = known && known.initials === our ? `library wrong: ${known.why}` : '';
    disagreements.push(`  ${field.padEnd(6)} ${text}  kscgen ${our}  pinyin-pro ${theirs}  ${note}`);
  }
});

console.log(`Pinyin initials against pinyin-pro ${version}, ${tally.title.all} songs:`);
console.log(disagreements.length ? disagreements.join('\n') : '  no disagreement');
let ok = true;
for (const field of ['singer', 'title']) {
  const share = (100 * tally[field].agree) / tally[field].all;
  const pass = share >= 99.5;
  ok &&= pass;
  console.log(`  ${(field + 's agreeing').padEnd(48)} ${share.toFixed(2).padStart(10)} %    ` +
              `(bound 99.5 %) ${pass ? 'ok' : 'UNDER'}`);
}
process.exitCode = ok ? 0 : 1;
