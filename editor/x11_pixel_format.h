// How the X server stores the pixels of a window: bits per pixel, row padding, byte
// order and where red, green and blue sit in a pixel. Turns the editor's 0xRRGGBB frames
// into image data for the server and, for pictures read back (tests, screenshots), the
// other way.
#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/pixel_image.h"

class X11PixelFormat {
 public:
  struct Layout {
    std::uint8_t depth;
    std::uint8_t bitsPerPixel;
    std::uint8_t scanlinePad;
    bool mostSignificantFirst;
    std::uint32_t redMask;
    std::uint32_t greenMask;
    std::uint32_t blueMask;
  };

  // The format of windows with this visual on this screen. False for a visual whose
  // pixels are not red, green and blue fields (colour maps, grey scales) or whose pixels
  // are not 16, 24 or 32 bits.
  bool describe(const xcb_setup_t* setup, const xcb_screen_t* screen, xcb_visualid_t visual);
  // The same from the numbers themselves.
  bool describe(const Layout& layout);

  std::uint8_t depth() const { return pixelDepth; }
  std::uint32_t pixelOf(PixelColor color) const;
  PixelColor colorOf(std::uint32_t pixel) const;
  // Bytes of one row of `width` pixels, padding included.
  std::size_t rowBytes(std::int32_t width) const;
  // The pixels of `area` of `image`, row after row, as the server reads them.
  void pack(const PixelImage& image, const PixelRect& area, std::vector<std::uint8_t>& out) const;
  // Image data of `width` x `height` pixels from the server; false when it is too short.
  bool unpack(const std::uint8_t* data, std::size_t size, std::int32_t width, std::int32_t height,
              PixelImage& image) const;

 private:
  struct Channel {
    std::uint32_t shift = 0;
    std::uint32_t bits = 0;
  };
  static Channel channelOf(std::uint32_t mask);
  static std::uint32_t place(std::uint32_t value8, const Channel& channel);
  static std::uint32_t take(std::uint32_t pixel, const Channel& channel);

  std::uint8_t pixelDepth = 0;
  std::uint32_t bitsPerPixel = 0;
  std::uint32_t scanlinePad = 0;
  bool mostSignificantFirst = false;
  Channel red;
  Channel green;
  Channel blue;
};

// What `window` shows in its top-left `width` x `height` pixels, read back from the
// server in the screen's own visual (tests and screenshots check the editor's picture
// so). False, with `image` left as it was, when the server gives no such picture.
bool readWindowPixels(xcb_connection_t* connection, const xcb_screen_t* screen, xcb_window_t window,
                      std::int32_t width, std::int32_t height, PixelImage& image);
