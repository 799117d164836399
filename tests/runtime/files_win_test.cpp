// The file primitives against the real file system under Wine, with paths in
// code page 936.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "runtime/win_handles.h"

namespace {

std::wstring wide(const Text &text) {
  std::u16string units = cp936_to_utf16(text);
  return std::wstring(units.begin(), units.end());
}

// A fresh directory under the temporary folder, whose name holds Chinese
// characters ("中文" in code page 936), removed with its files afterwards.
class FilesTest : public testing::Test {
protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    Text base = utf16_to_cp936(reinterpret_cast<const char16_t *>(temp));
    dir_ = base + "lumiscribe-files-" + std::to_string(GetCurrentProcessId()) + "-\xD6\xD0\xCE\xC4";
    ASSERT_TRUE(CreateDirectoryW(wide(dir_).c_str(), nullptr));
  }
  void TearDown() override {
    for (const Text &file : created_)
      DeleteFileW(wide(file).c_str());
    RemoveDirectoryW(wide(dir_).c_str());
  }
  Text path(const Text &name) {
    created_.push_back(dir_ + "\\" + name);
    return created_.back();
  }

  Text dir_;
  std::vector<Text> created_;
};

TEST_F(FilesTest, WritesPartsInOrderAndReadsThemBack) {
  const Text file = path("\xB2\xE2\xCA\xD4.bin"); // "测试.bin"
  const Bytes first{'a', 0, 'b'}, empty, second{0xFF, 0x80};
  ASSERT_TRUE(FileWriteAll(file, first, empty, second));
  EXPECT_EQ(FileReadAll(file), (Bytes{'a', 0, 'b', 0xFF, 0x80}));
  // The name on disk is the Unicode one, not the code page 936 bytes.
  EXPECT_NE(GetFileAttributesW((wide(dir_) + L"\\\u6D4B\u8BD5.bin").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(FilesTest, WritingTruncatesAndEmptyBytesMakeAnEmptyFile) {
  const Text file = path("a.bin");
  ASSERT_TRUE(FileWriteAll(file, Bytes(1000, 7)));
  ASSERT_TRUE(FileWriteAll(file, Bytes{1, 2}));
  EXPECT_EQ(FileReadAll(file), (Bytes{1, 2}));
  ASSERT_TRUE(FileWriteAll(file, Bytes{}));
  EXPECT_NE(GetFileAttributesW(wide(file).c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(FileReadAll(file), Bytes{});
}

TEST_F(FilesTest, MissingEmptyAndDirectoryPathsGiveEmptyValues) {
  EXPECT_EQ(FileReadAll(dir_ + "\\missing.bin"), Bytes{});
  EXPECT_EQ(FileReadAll(""), Bytes{});
  EXPECT_FALSE(FileWriteAll("", Bytes{1}));
  EXPECT_EQ(FileReadAll(dir_), Bytes{});
  EXPECT_FALSE(FileWriteAll(dir_, Bytes{1}));
  EXPECT_FALSE(FileWriteAll(dir_ + "\\no such folder\\x.bin", Bytes{1}));
}

TEST_F(FilesTest, FileHeldExclusivelyIsLeftUntouched) {
  const Text file = path("held.bin");
  ASSERT_TRUE(FileWriteAll(file, Bytes{1, 2, 3}));
  {
    KernelHandle held(CreateFileW(wide(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(FileWriteAll(file, Bytes{9}));
    EXPECT_EQ(FileReadAll(file), Bytes{});
  }
  EXPECT_EQ(FileReadAll(file), (Bytes{1, 2, 3}));
}

TEST_F(FilesTest, ReadingRefusesAFileSomeoneIsWriting) {
  const Text file = path("busy.bin");
  ASSERT_TRUE(FileWriteAll(file, Bytes{1}));
  KernelHandle writer(CreateFileW(wide(file).c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_EQ(FileReadAll(file), Bytes{});
}

TEST(RunDirectory, IsTheExecutablesFolderWithoutTrailingBackslash) {
  wchar_t module[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(nullptr, module, MAX_PATH), 0u);
  const Text expected_file = utf16_to_cp936(reinterpret_cast<const char16_t *>(module));
  const Text dir = RunDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), '\\');
  EXPECT_TRUE(TextStartsWith(expected_file, dir + "\\"));
  EXPECT_EQ(expected_file.find('\\', dir.size() + 1), Text::npos);
}

} // namespace
