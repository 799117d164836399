#include "service/text_cleanup.h"

#include <gtest/gtest.h>

namespace ocr_service {
namespace {

TEST(TextCleanupTest, ChineseLines) {
  struct Case {
    const char *read, *cleaned;
  } cases[] = {
      {"文 件 已 保 存", "文件已保存"},
      {"时间 : 12:30", "时间：12:30"},
      {"你好 , 世界 .", "你好，世界。"},
      {"确定吗 ?", "确定吗？"},
      {"成功 !", "成功！"},
      {"注意 ; 此操作无法撤销", "注意；此操作无法撤销"},
      {"请访问 (官网)", "请访问（官网）"},
      {"函数(x)", "函数（x）"},
      {"(3 items)", "(3 items)"},
      {"Settings saved. Press OK", "Settings saved. Press OK"},
      {"使用 Python 3.11 运行", "使用 Python 3.11 运行"},
      {"版本 v1.2 已发布", "版本 v1.2 已发布"},
      {"打开 文件.txt", "打开文件.txt"},
      {"正在加载...", "正在加载..."},
      {"网址:http://a.cn/x?y=1", "网址：http://a.cn/x?y=1"},
      {"1,000 元", "1,000 元"},
      {"OK , 继续", "OK，继续"},
      {"  前后空白  ", "前后空白"},
      {"中文 ， 标点", "中文，标点"},
      {"请求超时〈30 秒）", "请求超时（30 秒）"},
      {"书名〈论语〉（节选）", "书名〈论语〉（节选）"},
      {"\xff 坏字节", "\xef\xbf\xbd 坏字节"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.read);
    EXPECT_EQ(clean_chinese_line(c.read), c.cleaned);
  }
}

TEST(TextCleanupTest, LinesAreTrimmedAndEmptyOnesDropped) {
  std::vector<std::string> read = {"第 一 行\n", "   ", "", "Second line . \n", "\n"};
  EXPECT_EQ(clean_lines(read, true), (std::vector<std::string>{"第一行", "Second line ."}));
  EXPECT_EQ(clean_lines(read, false), (std::vector<std::string>{"第 一 行", "Second line ."}));
}

TEST(TextCleanupTest, Utf8RoundTrip) {
  std::string text = "a\xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80";
  EXPECT_EQ(u32_to_utf8(utf8_to_u32(text)), text);
  EXPECT_EQ(utf8_to_u32("\xe4\xb8"), std::u32string(2, 0xFFFD)); // cut short
}

} // namespace
} // namespace ocr_service
