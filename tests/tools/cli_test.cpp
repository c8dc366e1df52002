// The data tools follow the command-line conventions people script against:
// --help on standard output with 0, --version, usage errors on standard error with 2.
#include <gtest/gtest.h>

#include <string>

#include "support/subprocess.h"
#include "support/testdata.h"

namespace {

TEST(ToolCommandLine, HelpVersionAndUsageErrors) {
  const std::string dir = scratchDir("tool_cli");
  for (const std::string tool : {"quillmoor-img16", "quillmoor-levelcheck"}) {
    const std::string binary = QUILL_BUILD_DIR "/tools/" + tool;
    ChildRun r = runChild(binary, dir, dir, {}, 10, {"--help"});
    EXPECT_EQ(r.exitCode, 0) << tool;
    EXPECT_EQ(r.out.rfind("usage: " + tool, 0), 0u) << tool << ": " << r.out;
    EXPECT_EQ(r.err, "") << tool;

    r = runChild(binary, dir, dir, {}, 10, {"--version"});
    EXPECT_EQ(r.exitCode, 0) << tool;
    EXPECT_EQ(r.out, tool + " " QUILL_VERSION "\n");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--bogus"}, {"a", "b", "c", "d", "e"}}) {
      r = runChild(binary, dir, dir, {}, 10, args);
      EXPECT_EQ(r.exitCode, 2) << tool << " with " << args.size() << " arguments";
      EXPECT_EQ(r.out, "") << tool;
      EXPECT_NE(r.err.find("usage: " + tool), std::string::npos) << tool << ": " << r.err;
    }
  }
}

}  // namespace
