// lumiscribe_e2e --program=lumiscribe.exe --probe=lumiscribe_probe.exe
//                --sample=picture [gtest options]
// Run inside the Wine environment of the test script (virtual display, Wine
// prefix, persistent wineserver).
#include <gtest/gtest.h>

#include <cstring>

#include "tests/e2e/lumiscribe_session.h"

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  E2eSettings &settings = e2e_settings();
  settings.ocr_server = LUMISCRIBE_OCR_SERVER;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    auto value = [&](const char *prefix) { return argument.substr(std::strlen(prefix)); };
    if (argument.rfind("--program=", 0) == 0)
      settings.program = value("--program=");
    else if (argument.rfind("--probe=", 0) == 0)
      settings.probe = value("--probe=");
    else if (argument.rfind("--sample=", 0) == 0)
      settings.sample = value("--sample=");
    else if (argument.rfind("--ocr-server=", 0) == 0)
      settings.ocr_server = value("--ocr-server=");
  }
  if (settings.program.empty() || settings.probe.empty() || settings.sample.empty()) {
    std::fprintf(stderr, "usage: %s --program=EXE --probe=EXE --sample=PICTURE\n", argv[0]);
    return 2;
  }
  return RUN_ALL_TESTS();
}
