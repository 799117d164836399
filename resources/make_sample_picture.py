#!/usr/bin/python3
"""Renders the sample picture that `make run` recognises when there is no
screen to capture from, and that the end-to-end test against the local OCR
server reads: a few lines of Chinese and English screen text.

    /usr/bin/python3 resources/make_sample_picture.py resources/sample_text.jpg
"""
import sys

from PIL import Image, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
LINES = [
    "Lumiscribe 识别示例",
    "截图识字，免费好用",
    "The quick brown fox jumps over the lazy dog",
    "OCR 2024",
]


def main(path):
    font = ImageFont.truetype(FONT, 22)
    image = Image.new("RGB", (560, 40 + 40 * len(LINES)), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    for i, line in enumerate(LINES):
        draw.text((24, 22 + 40 * i), line, font=font, fill=(20, 20, 20))
    image.save(path, "JPEG", quality=95)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/sample_text.jpg")
