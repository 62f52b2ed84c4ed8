#pragma once

#include <libheif/heif.h>

namespace plenoria {

// libheif, opened on first use rather than at start-up: with the HEVC and AV1 codecs it pulls in,
// loading and setting it up costs every launch milliseconds, and most folders hold no HEIC or AVIF.
// The functions are libheif's own, named without their "heif_" prefix. Thread-safe.
struct HeifLibrary {
    decltype(&heif_context_alloc) context_alloc = nullptr;
    decltype(&heif_context_free) context_free = nullptr;
    decltype(&heif_context_read_from_memory_without_copy) context_read_from_memory_without_copy = nullptr;
    decltype(&heif_context_get_primary_image_handle) context_get_primary_image_handle = nullptr;
    decltype(&heif_context_get_encoder_for_format) context_get_encoder_for_format = nullptr;
    decltype(&heif_context_encode_image) context_encode_image = nullptr;
    decltype(&heif_context_write) context_write = nullptr;
    decltype(&heif_image_handle_get_width) image_handle_get_width = nullptr;
    decltype(&heif_image_handle_get_height) image_handle_get_height = nullptr;
    decltype(&heif_image_handle_is_premultiplied_alpha) image_handle_is_premultiplied_alpha = nullptr;
    decltype(&heif_image_handle_release) image_handle_release = nullptr;
    decltype(&heif_decode_image) decode_image = nullptr;
    decltype(&heif_image_create) image_create = nullptr;
    decltype(&heif_image_add_plane) image_add_plane = nullptr;
    decltype(&heif_image_get_plane) image_get_plane = nullptr;
    decltype(&heif_image_get_plane_readonly) image_get_plane_readonly = nullptr;
    decltype(&heif_image_get_width) image_get_width = nullptr;
    decltype(&heif_image_get_height) image_get_height = nullptr;
    decltype(&heif_image_release) image_release = nullptr;
    decltype(&heif_encoder_set_lossy_quality) encoder_set_lossy_quality = nullptr;
    decltype(&heif_encoder_set_logging_level) encoder_set_logging_level = nullptr;
    decltype(&heif_encoder_release) encoder_release = nullptr;
    decltype(&heif_encoding_options_alloc) encoding_options_alloc = nullptr;
    decltype(&heif_encoding_options_free) encoding_options_free = nullptr;

    // The library, opened and initialised on the first call; null when it cannot be opened or lacks
    // one of the functions above (HEIC and AVIF then read and write as nothing).
    [[nodiscard]] static const HeifLibrary* get();
};

} // namespace plenoria
