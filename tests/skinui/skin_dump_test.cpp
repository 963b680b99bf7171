// skin-dump as a program: one JSON object per control in tree order, page
// selection and client size from the command line, failures on stderr.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct DumpRun {
  int exitCode = -1;
  std::vector<std::string> lines;
};

DumpRun SkinDump(const std::string& arguments) {
  const char* bin = std::getenv("VELMORA_BIN_DIR");
  const std::string command = std::string(bin ? bin : ".") + "/skin-dump " + arguments + " 2>/dev/null";
  DumpRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    run.lines.push_back(line);
  }
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

const std::string* LineNamed(const DumpRun& run, const std::string& name) {
  for (const std::string& line : run.lines) {
    if (line.find("\"name\":\"" + name + "\"") != std::string::npos) return &line;
  }
  return nullptr;
}

TEST(SkinDump, PrintsEveryControlOfAPromptAtItsOwnSize) {
  const DumpRun run = SkinDump("exitTipWnd.xml");
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_EQ(run.lines.size(), 32u);  // every element of the file but the fonts
  EXPECT_EQ(run.lines[0],
            "{\"depth\":0,\"class\":\"VerticalLayout\",\"name\":\"VerticalLayoutUI1\",\"rect\":[0,0,360,180],"
            "\"visible\":true,\"text\":\"\"}");
  ASSERT_TRUE(LineNamed(run, "okBtn"));
  EXPECT_NE(LineNamed(run, "okBtn")->find("\"rect\":[167,130,243,162],\"visible\":true,\"text\":\"是\""), std::string::npos);
}

TEST(SkinDump, SelectsPagesAndTakesAClientSize) {
  const DumpRun run = SkinDump("--select mainTabLt=2 mainWnd.xml 700 400");
  ASSERT_EQ(run.exitCode, 0);
  ASSERT_TRUE(LineNamed(run, "mainTabLt"));
  EXPECT_NE(LineNamed(run, "mainTabLt")->find("\"selected\":2"), std::string::npos);
  ASSERT_TRUE(LineNamed(run, "installPrg"));
  EXPECT_NE(LineNamed(run, "installPrg")->find("\"rect\":[90,344,610,356]"), std::string::npos);
  EXPECT_NE(LineNamed(run, "installPrg")->find("\"value\":0"), std::string::npos);
  ASSERT_TRUE(LineNamed(run, "treatyCb"));
  EXPECT_NE(LineNamed(run, "treatyCb")->find("\"visible\":false"), std::string::npos);
  EXPECT_NE(LineNamed(run, "treatyCb")->find("\"selected\":true"), std::string::npos);
}

TEST(SkinDump, FailsForUnknownFilesAndBadArguments) {
  EXPECT_EQ(SkinDump("noSuchWnd.xml").exitCode, 1);
  EXPECT_EQ(SkinDump("").exitCode, 2);
  EXPECT_EQ(SkinDump("--select mainTabLt=9 mainWnd.xml").exitCode, 1);
}

}  // namespace
