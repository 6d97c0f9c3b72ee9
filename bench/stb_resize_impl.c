/* The one translation unit that holds stb_image_resize's implementation. */
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>
