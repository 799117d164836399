#include "app/builtin_picture.h"

extern const unsigned char about_card_jpeg[];
extern const unsigned long about_card_jpeg_size;

const Bytes &builtin_picture() {
  static const Bytes picture(about_card_jpeg, about_card_jpeg + about_card_jpeg_size);
  return picture;
}
