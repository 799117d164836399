#!/usr/bin/python3
"""Renders the OCR server's evaluation set: screen-like pictures of short
lines of Chinese, English, mixed text, digits and punctuation, at UI font sizes
12-24 px, on light and dark grounds, in fonts from Debian's font packages
(fonts-wqy-zenhei, fonts-noto-cjk, fonts-dejavu-core).

    render_eval_set.py OUT_DIR

writes OUT_DIR/NNN.png and OUT_DIR/manifest.jsonl, one JSON object a line:
{"file", "text" (lines joined by newline), "kind", "font", "size", "ground",
"capture"} where capture marks the two-line 800x70 screen captures that the
latency goal is about. The set is the same on every run (fixed seed).
"""
import json
import os
import random
import sys

from PIL import Image, ImageDraw, ImageFont

CJK_FONTS = [
    ("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc", 0, "wqy-zenhei"),
    ("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc", 2, "noto-sans-cjk-sc"),
    ("/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc", 2, "noto-serif-cjk-sc"),
]
LATIN_FONTS = CJK_FONTS + [
    ("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 0, "dejavu-sans"),
    ("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf", 0, "dejavu-serif"),
    ("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf", 0, "dejavu-sans-mono"),
]

# (ground, ink): light and dark themes as screens show them.
GROUNDS = {
    "light": [((255, 255, 255), (0, 0, 0)), ((240, 240, 240), (30, 30, 30)),
              ((250, 250, 245), (51, 51, 51)), ((232, 240, 254), (20, 40, 90))],
    "dark": [((30, 30, 30), (220, 220, 220)), ((43, 43, 43), (255, 255, 255)),
             ((25, 35, 50), (200, 215, 235)), ((0, 0, 0), (170, 255, 170))],
}

CHINESE = [
    "文件已保存到桌面。", "请输入用户名和密码", "确定要删除这些文件吗？", "正在下载更新，请稍候……",
    "网络连接已断开，请检查设置。", "今天天气晴朗，适合出门散步。", "会议将于下午三点在二楼举行。",
    "欢迎使用屏幕文字识别工具", "打开文件夹", "复制到剪贴板", "选择一个区域开始截图",
    "系统检测到新的硬件设备", "您的账户余额不足", "请在输入框中填写手机号码", "操作成功完成",
    "是否保存对文档的修改？", "正在处理中，请勿关闭窗口。", "最近打开的文件", "设置已恢复为默认值",
    "点击这里查看详细信息", "本周的销售数据已经更新", "图片格式不正确，请重新选择。",
    "他说：“明天见！”", "我们的目标是让每个人都能轻松使用。", "中华人民共和国", "北京市海淀区中关村大街",
    "上传失败：服务器没有响应", "请稍后再试", "新建文本文档", "显示隐藏的项目", "输入法切换",
    "自动保存已开启", "注意：此操作无法撤销。", "学而时习之，不亦说乎？", "春眠不觉晓，处处闻啼鸟。",
    "数据正在同步中", "检查更新", "关于本软件", "帮助与反馈", "退出登录", "个人中心",
    "消息通知", "安全中心", "隐私设置", "清除缓存", "语言与地区", "声音与振动", "电池与性能",
    "识别结果将显示在下方的文本框中。", "长按可以拖动窗口的位置", "这个功能暂时还不可用",
]
ENGLISH = [
    "File saved to desktop.", "Enter your user name and password", "Are you sure you want to delete these files?",
    "Downloading updates, please wait...", "Network connection lost. Check your settings.",
    "The meeting starts at 3 PM on the second floor.", "Welcome to the screen text reader",
    "Open folder", "Copy to clipboard", "Select a region to capture", "New hardware detected",
    "Insufficient account balance", "Operation completed successfully", "Save changes to the document?",
    "Processing, do not close this window.", "Recently opened files", "Settings restored to defaults",
    "Click here for details", "Sales figures for this week have been updated",
    "Invalid image format; please choose another file.", "The quick brown fox jumps over the lazy dog",
    "Pack my box with five dozen liquor jugs.", "Upload failed: the server did not respond",
    "Please try again later", "Show hidden items", "Auto-save is on", "Note: this cannot be undone.",
    "Check for updates", "About this program", "Help and feedback", "Sign out", "Privacy settings",
    "Clear cache", "Language and region", "Battery and performance", "Results appear in the box below.",
    "Drag the window to move it", "This feature is not available yet", "View > Toolbars > Standard",
    "Error 404: page not found", "Press Ctrl+C to copy the selection", "Version 2.4.1 (build 1187)",
]
MIXED = [
    "使用 Python 3.11 运行脚本", "下载 Windows 10 更新补丁", "按 Ctrl+V 粘贴内容", "版本 V2.3.5 已发布",
    "打开 Settings 页面", "请访问 www.example.com 获取帮助", "CPU 使用率：87%", "内存 16GB，硬盘 512GB SSD",
    "错误代码 0x80070005：拒绝访问", "发送到 user@example.org", "共 128 个文件，总计 3.2 MB",
    "iPhone 15 Pro 价格下调", "第 3 章 Introduction 简介", "点击 OK 按钮继续", "Wi-Fi 已连接",
    "登录 GitHub 账户", "使用 USB 数据线连接手机", "PDF 文件转换为 Word 文档", "HTTP 请求超时（30 秒）",
    "订单号：A20240315-0087", "快捷键 Alt+Tab 切换窗口", "文件名：report_final.docx",
    "温度 25°C，湿度 60%", "分辨率 1920×1080", "Excel 表格第 12 行", "蓝牙 5.0 耳机已配对",
]
DIGITS = [
    "2024-03-15 14:32:07", "¥1,299.00", "$ 45.99 (tax incl.)", "Tel: 010-6275 1234", "3.14159265",
    "1 + 2 = 3; 4 × 5 = 20", "192.168.1.100:8080", "ID: 4403 0519 8801 0123", "No. 0042 / 0100",
    "98.6% (±0.2%)", "[1] [2] [3] ... [10]", "#FF5733 / rgb(255, 87, 51)", "12:00 - 13:30",
    "Page 7 of 21", "Q1: 1,024; Q2: 2,048!", "100/200 = 0.5", "2023/12/31 23:59",
    "Order #A-77812, qty 3", "v1.0.0-beta.2", "(555) 010-0199",
]


def load_font(spec, size):
    path, index, name = spec
    return ImageFont.truetype(path, size, index=index), name


def draw_lines(lines, font, ground, ink, size, width=None, height=None):
    margin_x, margin_y = 8, max(6, size // 2)
    gap = max(4, size // 3)
    boxes = [font.getbbox(line) for line in lines]
    line_height = max(b[3] - b[1] for b in boxes)
    natural_w = max(b[2] for b in boxes) + 2 * margin_x
    natural_h = len(lines) * line_height + (len(lines) - 1) * gap + 2 * margin_y
    image = Image.new("RGB", (max(width or 0, natural_w), max(height or 0, natural_h)), ground)
    draw = ImageDraw.Draw(image)
    y = (image.height - (natural_h - 2 * margin_y)) // 2
    for line, box in zip(lines, boxes):
        draw.text((margin_x, y - box[1]), line, font=font, fill=ink)
        y += line_height + gap
    return image


def pick(rng, kind):
    table = {"chinese": CHINESE, "english": ENGLISH, "mixed": MIXED, "digits": DIGITS}[kind]
    return rng.choice(table)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rng = random.Random(20240315)
    kinds = ["chinese", "english", "mixed", "digits"]
    items = []
    # Single lines and short two-line pieces across the sizes and grounds.
    for i in range(150):
        kind = kinds[i % 4]
        size = 12 + (i * 7) % 13
        ground_name = "dark" if i % 3 == 0 else "light"
        count = 2 if i % 5 == 4 else 1
        items.append((kind, size, ground_name, count, False))
    # Two-line screen captures of 800x70, UI text size.
    for i in range(50):
        items.append((kinds[i % 3], 13 + i % 4, "dark" if i % 4 == 3 else "light", 2, True))
    with open(os.path.join(out, "manifest.jsonl"), "w", encoding="utf-8") as manifest:
        for n, (kind, size, ground_name, count, capture) in enumerate(items):
            fonts = CJK_FONTS if kind in ("chinese", "mixed") else LATIN_FONTS
            font, font_name = load_font(rng.choice(fonts), size)
            ground, ink = rng.choice(GROUNDS[ground_name])
            lines = []
            while len(lines) < count:
                line = pick(rng, kind)
                if line not in lines:
                    lines.append(line)
            if capture:
                image = draw_lines(lines, font, ground, ink, size, 800, 70)
            else:
                image = draw_lines(lines, font, ground, ink, size)
            name = "%03d.png" % n
            image.save(os.path.join(out, name))
            manifest.write(json.dumps({"file": name, "text": "\n".join(lines), "kind": kind,
                                       "font": font_name, "size": size, "ground": ground_name,
                                       "capture": capture}, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
