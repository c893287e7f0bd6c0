// How a run over many pictures holds back a picture between learning its size and
// making room for its pixels: the decoder's part (image_file.h) and the batch's part
// (batch_admission.h) meet here, so that neither needs the other.
#pragma once
#include <cstdint>
#include <string>

// The size of a frame as its decoder tells it, before its pixels are copied out.
struct FrameSize {
  uint32_t width;
  uint32_t height;
  uint32_t decodedBitsPerPixel;  // of the decoder's own format
};

class PixelGate {
 public:
  // True to go on at once; false to wait, with the file let go. Throws HostError when
  // the picture can never have room.
  virtual bool Enter(const FrameSize& size) = 0;
  // Returns once the picture may go on.
  virtual void Wait() = 0;

 protected:
  ~PixelGate() = default;
};

// The reason given for a picture whose pixels find no room.
inline std::wstring TooLargeForMemory(const std::wstring& path) {
  return path + L" is too large an image for the memory available";
}
