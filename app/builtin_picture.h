// The built-in picture: Lumiscribe's about card, a JPEG compiled into the
// program (resources/about_card.jpg, drawn by resources/make_about_card.py).
#pragma once

#include "runtime/text.h"

const Bytes &builtin_picture();
