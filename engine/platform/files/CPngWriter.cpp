#include "platform/files/CPngWriter.h"

#include <png.h>

#include <csetjmp>
#include <new>

namespace {

struct SPngSink {
    std::vector<std::uint8_t>* bytes = nullptr;
    std::string* error = nullptr;
};

void AppendData(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<SPngSink*>(png_get_io_ptr(png));
    bool outOfMemory = false;
    try {
        sink->bytes->insert(sink->bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;  // no exception may cross libpng's C frames
    }
    if (outOfMemory) {
        png_error(png, "out of memory");
    }
}

void FlushNothing(png_structp) {}

void OnError(png_structp png, png_const_charp message) {
    auto* sink = static_cast<SPngSink*>(png_get_error_ptr(png));
    *sink->error = std::string("The PNG image cannot be encoded: ") + message;
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// Owns libpng's write structures. Declared outside the function that calls
// setjmp so that nothing it touches after a long jump is a local that changed.
class CPngEncoder {
public:
    explicit CPngEncoder(SPngSink& sink) {
        m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, OnError, OnWarning);
        if (m_png) {
            m_info = png_create_info_struct(m_png);
            png_set_write_fn(m_png, &sink, AppendData, FlushNothing);
        }
    }
    ~CPngEncoder() { png_destroy_write_struct(&m_png, m_info ? &m_info : nullptr); }
    CPngEncoder(const CPngEncoder&) = delete;
    CPngEncoder& operator=(const CPngEncoder&) = delete;

    bool IsReady() const { return m_png && m_info; }

    bool Write(int width, int height, const std::vector<png_bytep>& rows) {
        if (setjmp(png_jmpbuf(m_png))) {
            return false;
        }
        png_set_IHDR(m_png, m_info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(m_png, m_info);
        png_write_image(m_png, const_cast<png_bytepp>(rows.data()));
        png_write_end(m_png, m_info);
        return true;
    }

private:
    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
};

}  // namespace

bool CPngWriter::Encode(int width, int height, const std::vector<std::uint8_t>& rgba) {
    m_bytes.clear();
    m_error.clear();
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * height * 4) {
        m_error = "The PNG image cannot be encoded: the pixels do not match its size.";
        return false;
    }
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        // libpng only reads the rows it is given.
        rows[row] = const_cast<png_bytep>(rgba.data() + row * stride);
    }
    SPngSink sink{&m_bytes, &m_error};
    CPngEncoder encoder(sink);
    if (!encoder.IsReady()) {
        m_error = "The PNG image cannot be encoded: out of memory.";
        return false;
    }
    if (!encoder.Write(width, height, rows)) {
        m_bytes.clear();
        return false;
    }
    return true;
}
