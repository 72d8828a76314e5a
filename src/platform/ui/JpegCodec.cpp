// JPEG through libjpeg. libjpeg reports fatal errors by calling error_exit,
// which must not return: it jumps back to the setjmp below. Only plain data
// lives between the setjmp and the jump, so nothing is left half-destroyed,
// and the pixel buffer is owned outside the jump's reach.
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE
#include <cstring>

#include <jpeglib.h>
// jerror.h names the warning codes.
#include <jerror.h>

#include "platform/ui/ImageCodecs.h"

namespace platform::ui::codecs {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    bool corrupt;
};

[[noreturn]] void onError(j_common_ptr info)
{
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr info, int level)
{
    // libjpeg only warns about corrupt data (a cut stream, a bad Huffman
    // code, a marker inside the scan) and fills the gap with grey; a damaged
    // image is not an image. The one warning that says nothing about the
    // pixels is an unknown JFIF revision.
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    if (level < 0 && info->err->msg_code != JWRN_JFIF_MAJOR) errors->corrupt = true;
}

void silence(j_common_ptr) {}

void installErrors(ErrorManager& errors)
{
    jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.base.output_message = silence;
    errors.corrupt = false;
}

// Every 8x8 block of every component costs a Huffman-coded JPEG at least one
// bit (its DC difference), so a file of N bytes codes at most 8N blocks. A
// header that declares more is a lie told to make the decoder allocate.
uint64_t codedBlocks(const jpeg_decompress_struct& info)
{
    uint64_t blocks = 0;
    for (int i = 0; i < info.num_components; ++i) {
        blocks += static_cast<uint64_t>(info.comp_info[i].width_in_blocks) * info.comp_info[i].height_in_blocks;
    }
    return blocks;
}

// The components the scan just begun codes, one bit each.
uint32_t componentsOfScan(const jpeg_decompress_struct& info)
{
    uint32_t components = 0;
    for (int i = 0; i < info.comps_in_scan; ++i) components |= 1u << info.cur_comp_info[i]->component_index;
    return components;
}

// A file of several scans cut at a scan boundary, its end marker put back,
// is well formed to libjpeg: it shows what the scans so far carried (a
// progressive image blurred or washed out, a colour missing from one coded
// a component per scan) without a warning. So every scan is read into
// libjpeg's coefficient buffer first, and the image counts only when the
// last scan left it whole: every coefficient of every component refined to
// its last bit, or, without progression, every component coded.
bool absorbAllScans(jpeg_decompress_struct& info, const ErrorManager& errors)
{
    uint32_t coded = componentsOfScan(info);  // the header ended at the first scan
    for (;;) {
        const int status = jpeg_consume_input(&info);
        if (errors.corrupt || status == JPEG_SUSPENDED) return false;
        if (status == JPEG_REACHED_EOI) break;
        if (status == JPEG_REACHED_SOS) coded |= componentsOfScan(info);
    }
    if (!info.progressive_mode) return coded == (1u << info.num_components) - 1;
    for (int c = 0; c < info.num_components; ++c) {
        for (int k = 0; k < DCTSIZE2; ++k) {
            if (info.coef_bits[c][k] != 0) return false;
        }
    }
    return true;
}

// Fills `pixels` with RGBA rows; false on any failure.
bool decodeInto(const uint8_t* bytes, size_t length, std::vector<uint8_t>& pixels, int& width, int& height)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = &errors.base;
    installErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    const bool supported = info.jpeg_color_space == JCS_GRAYSCALE || info.jpeg_color_space == JCS_YCbCr ||
                           info.jpeg_color_space == JCS_RGB;
    // Arithmetic coding is refused: no browser shows it, so no banner or
    // picture uses it, and it is the one coding that can make a huge image
    // from a handful of bytes.
    if (!supported || info.arith_code || errors.corrupt ||
        !withinDecodeCaps(info.image_width, info.image_height) ||
        codedBlocks(info) > static_cast<uint64_t>(length) * 8) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_RGBA;
    // A single interleaved scan is decoded row by row as it is read.
    const bool severalScans = info.progressive_mode || info.comps_in_scan < info.num_components;
    info.buffered_image = severalScans ? TRUE : FALSE;
    jpeg_start_decompress(&info);
    if (severalScans) {
        if (!absorbAllScans(info, errors)) {
            jpeg_destroy_decompress(&info);
            return false;
        }
        jpeg_start_output(&info, info.input_scan_number);
    }
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    while (info.output_scanline < info.output_height && !errors.corrupt) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(info.output_scanline) * static_cast<size_t>(width) * 4;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (!errors.corrupt && severalScans) jpeg_finish_output(&info);
    if (!errors.corrupt) jpeg_finish_decompress(&info);
    const bool complete = !errors.corrupt;
    jpeg_destroy_decompress(&info);
    return complete;
}

// Compressed bytes go straight into a vector owned by the caller, so an
// error jump leaves nothing of libjpeg's own to free.
struct VectorDestination {
    jpeg_destination_mgr base;
    std::vector<uint8_t>* out;
};

constexpr size_t kChunk = 16384;

void startDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    dest->out->resize(kChunk);
    dest->base.next_output_byte = dest->out->data();
    dest->base.free_in_buffer = kChunk;
}

boolean growDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    const size_t used = dest->out->size();
    dest->out->resize(used + kChunk);
    dest->base.next_output_byte = dest->out->data() + used;
    dest->base.free_in_buffer = kChunk;
    return TRUE;
}

void finishDestination(j_compress_ptr info)
{
    auto* dest = reinterpret_cast<VectorDestination*>(info->dest);
    dest->out->resize(dest->out->size() - dest->base.free_in_buffer);
}

bool encodeInto(const Image& image, int quality, std::vector<uint8_t>& out)
{
    const int width = image.pixelWidth();
    // The alpha channel is dropped the way a premultiplied bitmap loses it.
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * 3);
    VectorDestination dest;
    dest.base.init_destination = startDestination;
    dest.base.empty_output_buffer = growDestination;
    dest.base.term_destination = finishDestination;
    dest.out = &out;
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = &errors.base;
    installErrors(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    info.dest = &dest.base;
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(image.pixelHeight());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const uint8_t* src = image.rgba().data();
    while (info.next_scanline < info.image_height) {
        const uint8_t* row = src + static_cast<size_t>(info.next_scanline) * static_cast<size_t>(width) * 4;
        for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
            const unsigned a = row[x * 4 + 3];
            for (size_t c = 0; c < 3; ++c) rgb[x * 3 + c] = static_cast<uint8_t>((row[x * 4 + c] * a + 127) / 255);
        }
        JSAMPROW line = rgb.data();
        jpeg_write_scanlines(&info, &line, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool looksLikeJpeg(const uint8_t* bytes, size_t length)
{
    return length >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

std::shared_ptr<Image> decodeJpeg(const uint8_t* bytes, size_t length)
{
    if (!looksLikeJpeg(bytes, length)) return nullptr;
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    if (!decodeInto(bytes, length, pixels, width, height)) return nullptr;
    return Image::withPixels(width, height, std::move(pixels));
}

std::vector<uint8_t> encodeJpeg(const Image& image, int quality)
{
    std::vector<uint8_t> out;
    if (!encodeInto(image, quality < 1 ? 1 : (quality > 100 ? 100 : quality), out)) return {};
    return out;
}

}  // namespace platform::ui::codecs
