// The image-size reader never reads past the bytes it is given (the address
// sanitizer watches that) and reads a GIF's size from bytes 6 to 9.

#include "dialogs/html/image_size.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A copy of exactly the input's length, so that any read past it is seen.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ImageSize::Reading reading = ImageSize::read(bytes);
    if (reading.format == ImageSize::Format::Gif && reading.hasSize) {
        FUZZ_CHECK(size >= 10, bytes);
        FUZZ_CHECK(reading.width == quint32(data[6] | data[7] << 8), bytes);
        FUZZ_CHECK(reading.height == quint32(data[8] | data[9] << 8), bytes);
    }
    if (reading.format == ImageSize::Format::Unsupported)
        FUZZ_CHECK(!reading.hasSize, bytes);
    return 0;
}
