#include "app/cli/command_line.h"

#include <gtest/gtest.h>

namespace kscgen::cli {
namespace {

enum { kT, kN, kR, kDate, kForce, kFolderRole };

const std::vector<OptionDef> kOptionTable = {
    {"template", 't', true, kT},    {"dry-run", 'n', false, kN},
    {"recursive", 'R', false, kR},  {"date", '\0', true, kDate},
    {"force", '\0', false, kForce}, {"folder-role", 'r', true, kFolderRole},
};

// The options read, as "id=value" joined by spaces, the operands after "|",
// and the error with the option as typed after "!".
std::string Read(std::vector<std::string> args) {
  CommandLine line = ParseCommandLine(args, kOptionTable);
  std::string out;
  for (const ParsedOption& o : line.options) {
    out += std::to_string(o.id) + "=" + o.value + " ";
  }
  out += "|";
  for (const std::string& operand : line.operands) out += " " + operand;
  switch (line.error) {
    case OptionError::kNone:
      break;
    case OptionError::kUnknown:
      out += " !unknown " + line.typed;
      break;
    case OptionError::kMissingValue:
      out += " !missing " + line.typed;
      break;
    case OptionError::kUnexpectedValue:
      out += " !unexpected " + line.typed;
      break;
  }
  return out;
}

TEST(CommandLineTest, ReadsShortOptionsAloneInClustersAndWithValuesAttached) {
  struct Case {
    std::vector<std::string> args;
    const char* read;
  };
  const Case cases[] = {
      {{"-t", "1", "dir"}, "0=1 | dir"},   {{"-t1", "dir"}, "0=1 | dir"},
      {{"-nR", "dir"}, "1= 2= | dir"},     {{"-nt", "3", "dir"}, "1= 0=3 | dir"},
      {{"-nt3R", "dir"}, "1= 0=3R | dir"},  // the rest of the cluster is the value
      {{"-t", "-1", "dir"}, "0=-1 | dir"},  // a value may look like an option
      {{"-t", "", "dir"}, "0= | dir"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.args), c.read) << c.args[0];
}

TEST(CommandLineTest, ReadsLongOptionsWholeOrByAnUnambiguousPrefix) {
  struct Case {
    std::vector<std::string> args;
    const char* read;
  };
  const Case cases[] = {
      {{"--template", "1", "dir"}, "0=1 | dir"},
      {{"--template=1", "dir"}, "0=1 | dir"},
      {{"--template=", "dir"}, "0= | dir"},
      {{"--date=a=b", "dir"}, "3=a=b | dir"},
      {{"--temp", "2", "--dry", "dir"}, "0=2 1= | dir"},
      {{"--fo", "dir"}, "| !unknown --fo"},  // folder-role or force
      {{"--forc", "dir"}, "4= | dir"},
      {{"--bogus=1", "dir"}, "| !unknown --bogus"},
      {{"--force=1", "dir"}, "| !unexpected --force"},
      {{"--", "dir"}, "| dir"},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.args), c.read) << c.args[0];
}

TEST(CommandLineTest, OperandsMayComeAnywhereUntilTwoDashes) {
  EXPECT_EQ(Read({"dir", "-n", "other"}), "1= | dir other");
  EXPECT_EQ(Read({"-n", "--", "-t", "--date"}), "1= | -t --date");
  EXPECT_EQ(Read({"-", "-n"}), "1= | -");
  EXPECT_EQ(Read({}), "|");
}

TEST(CommandLineTest, StopsAtTheFirstErrorKeepingTheOptionsBeforeIt) {
  struct Case {
    std::vector<std::string> args;
    const char* read;
  };
  const Case cases[] = {
      {{"-t", "1", "-xn", "dir"}, "0=1 | !unknown -x"},
      {{"-nx", "dir"}, "1= | !unknown -x"},
      {{"-n", "-t"}, "1= | !missing -t"},
      {{"dir", "--date"}, "| dir !missing --date"},
      {{"--da"}, "| !missing --da"},
      {{"--", "-x"}, "| -x"},
      {{"-\xE4\xBD\xA0", "dir"}, "| !unknown -\xE4"},  // one byte, as getopt takes it
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.args), c.read) << c.args[0];
}

}  // namespace
}  // namespace kscgen::cli
