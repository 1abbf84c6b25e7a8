#include "editor/x11_pixel_format.h"

#include <cstdlib>
#include <utility>

namespace {

constexpr std::uint32_t kBitsPerByte = 8;
constexpr std::uint32_t kChannelBits = 8;  // bits per colour in 0xRRGGBB
constexpr std::uint32_t kColourMask = 0xFF;
// Wider channels than any display has would overflow the scaling.
constexpr std::uint32_t kWidestChannel = 16;

const xcb_visualtype_t* findVisual(const xcb_screen_t* screen, xcb_visualid_t visual, std::uint8_t& depth) {
  for (xcb_depth_iterator_t d = xcb_screen_allowed_depths_iterator(screen); d.rem != 0; xcb_depth_next(&d)) {
    for (xcb_visualtype_iterator_t v = xcb_depth_visuals_iterator(d.data); v.rem != 0; xcb_visualtype_next(&v)) {
      if (v.data->visual_id != visual) continue;
      depth = d.data->depth;
      return v.data;
    }
  }
  return nullptr;
}

}  // namespace

X11PixelFormat::Channel X11PixelFormat::channelOf(std::uint32_t mask) {
  Channel channel;
  if (mask == 0) return channel;
  while ((mask & 1u) == 0) {
    mask >>= 1;
    ++channel.shift;
  }
  while ((mask & 1u) != 0) {
    mask >>= 1;
    ++channel.bits;
  }
  return channel;
}

bool X11PixelFormat::describe(const xcb_setup_t* setup, const xcb_screen_t* screen, xcb_visualid_t visual) {
  if (setup == nullptr || screen == nullptr) return false;
  std::uint8_t depth = 0;
  const xcb_visualtype_t* type = findVisual(screen, visual, depth);
  if (type == nullptr) return false;
  if (type->_class != XCB_VISUAL_CLASS_TRUE_COLOR && type->_class != XCB_VISUAL_CLASS_DIRECT_COLOR) return false;
  const xcb_format_t* format = nullptr;
  for (xcb_format_iterator_t f = xcb_setup_pixmap_formats_iterator(setup); f.rem != 0; xcb_format_next(&f)) {
    if (f.data->depth == depth) format = f.data;
  }
  if (format == nullptr) return false;
  return describe({depth, format->bits_per_pixel, format->scanline_pad,
                   setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST, type->red_mask, type->green_mask,
                   type->blue_mask});
}

bool X11PixelFormat::describe(const Layout& layout) {
  const std::uint32_t bpp = layout.bitsPerPixel;
  if (bpp != 16 && bpp != 24 && bpp != 32) return false;
  const Channel r = channelOf(layout.redMask);
  const Channel g = channelOf(layout.greenMask);
  const Channel b = channelOf(layout.blueMask);
  for (const Channel& c : {r, g, b}) {
    if (c.bits == 0 || c.bits > kWidestChannel) return false;
  }
  if (layout.scanlinePad == 0 || layout.scanlinePad % kBitsPerByte != 0) return false;
  pixelDepth = layout.depth;
  bitsPerPixel = bpp;
  scanlinePad = layout.scanlinePad;
  mostSignificantFirst = layout.mostSignificantFirst;
  red = r;
  green = g;
  blue = b;
  return true;
}

// An 8-bit colour value scaled to the channel's width.
std::uint32_t X11PixelFormat::place(std::uint32_t value8, const Channel& channel) {
  const std::uint32_t scaled =
      channel.bits <= kChannelBits ? value8 >> (kChannelBits - channel.bits) : value8 << (channel.bits - kChannelBits);
  return scaled << channel.shift;
}

std::uint32_t X11PixelFormat::take(std::uint32_t pixel, const Channel& channel) {
  const std::uint32_t largest = (1u << channel.bits) - 1u;
  const std::uint32_t raw = (pixel >> channel.shift) & largest;
  if (channel.bits >= kChannelBits) return raw >> (channel.bits - kChannelBits);
  // Narrow channels are spread over the 8-bit range: full intensity stays full.
  return (raw * kColourMask + largest / 2) / largest;
}

std::uint32_t X11PixelFormat::pixelOf(PixelColor color) const {
  return place((color >> 16) & kColourMask, red) | place((color >> 8) & kColourMask, green) |
         place(color & kColourMask, blue);
}

PixelColor X11PixelFormat::colorOf(std::uint32_t pixel) const {
  return take(pixel, red) << 16 | take(pixel, green) << 8 | take(pixel, blue);
}

std::size_t X11PixelFormat::rowBytes(std::int32_t width) const {
  const std::size_t bits = static_cast<std::size_t>(width) * bitsPerPixel;
  const std::size_t padded = (bits + scanlinePad - 1) / scanlinePad * scanlinePad;
  return padded / kBitsPerByte;
}

void X11PixelFormat::pack(const PixelImage& image, const PixelRect& area, std::vector<std::uint8_t>& out) const {
  const std::size_t stride = rowBytes(area.width);
  const std::uint32_t bytesPerPixel = bitsPerPixel / kBitsPerByte;
  out.assign(stride * static_cast<std::size_t>(area.height), 0);
  for (std::int32_t y = 0; y < area.height; ++y) {
    std::uint8_t* row = out.data() + stride * static_cast<std::size_t>(y);
    for (std::int32_t x = 0; x < area.width; ++x) {
      const std::uint32_t pixel = pixelOf(image.at(area.left + x, area.top + y));
      std::uint8_t* p = row + static_cast<std::size_t>(x) * bytesPerPixel;
      for (std::uint32_t b = 0; b < bytesPerPixel; ++b) {
        const std::uint32_t byteIndex = mostSignificantFirst ? bytesPerPixel - 1 - b : b;
        p[byteIndex] = static_cast<std::uint8_t>(pixel >> (b * kBitsPerByte));
      }
    }
  }
}

bool X11PixelFormat::unpack(const std::uint8_t* data, std::size_t size, std::int32_t width, std::int32_t height,
                            PixelImage& image) const {
  const std::size_t stride = rowBytes(width);
  if (data == nullptr || width <= 0 || height <= 0 || size / stride < static_cast<std::size_t>(height)) return false;
  const std::uint32_t bytesPerPixel = bitsPerPixel / kBitsPerByte;
  PixelImage read(width, height);
  for (std::int32_t y = 0; y < height; ++y) {
    const std::uint8_t* row = data + stride * static_cast<std::size_t>(y);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::uint8_t* p = row + static_cast<std::size_t>(x) * bytesPerPixel;
      std::uint32_t pixel = 0;
      for (std::uint32_t b = 0; b < bytesPerPixel; ++b) {
        const std::uint32_t byteIndex = mostSignificantFirst ? bytesPerPixel - 1 - b : b;
        pixel |= static_cast<std::uint32_t>(p[byteIndex]) << (b * kBitsPerByte);
      }
      read.at(x, y) = colorOf(pixel);
    }
  }
  image = std::move(read);
  return true;
}

bool readWindowPixels(xcb_connection_t* connection, const xcb_screen_t* screen, xcb_window_t window,
                      std::int32_t width, std::int32_t height, PixelImage& image) {
  constexpr std::uint32_t kAllPlanes = 0xFFFFFFFFu;
  X11PixelFormat format;
  if (width <= 0 || height <= 0 || !format.describe(xcb_get_setup(connection), screen, screen->root_visual)) return false;
  xcb_get_image_reply_t* reply = xcb_get_image_reply(
      connection,
      xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, static_cast<std::uint16_t>(width),
                    static_cast<std::uint16_t>(height), kAllPlanes),
      nullptr);
  const bool read = reply != nullptr && format.unpack(xcb_get_image_data(reply),
                                                      static_cast<std::size_t>(xcb_get_image_data_length(reply)),
                                                      width, height, image);
  std::free(reply);
  return read;
}
