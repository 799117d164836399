#!/usr/bin/python3
"""Draws Lumiscribe's about card, the built-in picture that the main window's
"更多免费软件请点击" button shows in the preview box.

    /usr/bin/python3 resources/make_about_card.py resources/about_card.jpg

It is a JPEG of exactly the preview box's size, so it shows unscaled.
"""
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 481, 448
FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
GROUP = "660012345"

TOP = (18, 64, 92)
BOTTOM = (8, 28, 44)
ACCENT = (92, 206, 196)
TEXT = (236, 244, 246)
MUTED = (150, 182, 192)


def font(size):
    return ImageFont.truetype(FONT, size)


def gradient():
    image = Image.new("RGB", (WIDTH, HEIGHT))
    draw = ImageDraw.Draw(image)
    for y in range(HEIGHT):
        t = y / (HEIGHT - 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip(TOP, BOTTOM))
        draw.line([(0, y), (WIDTH, y)], fill=colour)
    return image


def lens(draw, x, y):
    # The mark: a selection frame with its corner handles over two text lines.
    draw.rectangle([x, y, x + 64, y + 48], outline=ACCENT, width=3)
    for hx, hy in [(x, y), (x + 64, y), (x, y + 48), (x + 64, y + 48)]:
        draw.rectangle([hx - 4, hy - 4, hx + 4, hy + 4], fill=ACCENT)
    draw.line([(x + 12, y + 18), (x + 52, y + 18)], fill=TEXT, width=4)
    draw.line([(x + 12, y + 32), (x + 40, y + 32)], fill=TEXT, width=4)


def main(path):
    image = gradient()
    draw = ImageDraw.Draw(image)
    lens(draw, 36, 40)
    draw.text((124, 34), "Lumiscribe", font=font(40), fill=TEXT)
    draw.text((126, 82), "截图识字 · 免费版", font=font(18), fill=ACCENT)
    draw.line([(36, 128), (WIDTH - 36, 128)], fill=(60, 110, 128), width=1)

    steps = [
        ("截图", "框选屏幕上的任意区域"),
        ("开始识别", "识别出的文字逐行出现在右侧"),
        ("复制", "在识别结果中选中文字，随意编辑"),
    ]
    y = 150
    for number, (title, detail) in enumerate(steps, start=1):
        draw.ellipse([36, y, 64, y + 28], outline=ACCENT, width=2)
        draw.text((45, y + 3), str(number), font=font(18), fill=ACCENT)
        draw.text((80, y - 1), title, font=font(18), fill=TEXT)
        draw.text((80, y + 24), detail, font=font(14), fill=MUTED)
        y += 64

    draw.text((36, 352), "自带本地 OCR 服务，无需云账号，不联网也能用。", font=font(14), fill=MUTED)
    draw.text((36, 376), "更多免费软件请进群交流：" + GROUP, font=font(16), fill=TEXT)
    draw.text((36, 412), "Lumiscribe 0.1", font=font(12), fill=(100, 140, 152))
    image.save(path, "JPEG", quality=92, optimize=True)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/about_card.jpg")
