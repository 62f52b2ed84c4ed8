#include "imaging/read/HeifLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace plenoria {

namespace {

template <typename Function> bool resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<HeifLibrary> open()
{
    // The soname the linker would record for the ABI the header describes (stable since 1.0).
    void* library = dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    HeifLibrary heif;
    decltype(&heif_init) init = nullptr;
    const bool complete = resolve(library, "heif_init", init)
        && resolve(library, "heif_context_alloc", heif.context_alloc)
        && resolve(library, "heif_context_free", heif.context_free)
        && resolve(
            library, "heif_context_read_from_memory_without_copy", heif.context_read_from_memory_without_copy)
        && resolve(library, "heif_context_get_primary_image_handle", heif.context_get_primary_image_handle)
        && resolve(library, "heif_context_get_encoder_for_format", heif.context_get_encoder_for_format)
        && resolve(library, "heif_context_encode_image", heif.context_encode_image)
        && resolve(library, "heif_context_write", heif.context_write)
        && resolve(library, "heif_image_handle_get_width", heif.image_handle_get_width)
        && resolve(library, "heif_image_handle_get_height", heif.image_handle_get_height)
        && resolve(
            library, "heif_image_handle_is_premultiplied_alpha", heif.image_handle_is_premultiplied_alpha)
        && resolve(library, "heif_image_handle_release", heif.image_handle_release)
        && resolve(library, "heif_decode_image", heif.decode_image)
        && resolve(library, "heif_image_create", heif.image_create)
        && resolve(library, "heif_image_add_plane", heif.image_add_plane)
        && resolve(library, "heif_image_get_plane", heif.image_get_plane)
        && resolve(library, "heif_image_get_plane_readonly", heif.image_get_plane_readonly)
        && resolve(library, "heif_image_get_width", heif.image_get_width)
        && resolve(library, "heif_image_get_height", heif.image_get_height)
        && resolve(library, "heif_image_release", heif.image_release)
        && resolve(library, "heif_encoder_set_lossy_quality", heif.encoder_set_lossy_quality)
        && resolve(library, "heif_encoder_set_logging_level", heif.encoder_set_logging_level)
        && resolve(library, "heif_encoder_release", heif.encoder_release)
        && resolve(library, "heif_encoding_options_alloc", heif.encoding_options_alloc)
        && resolve(library, "heif_encoding_options_free", heif.encoding_options_free);
    if (!complete) {
        dlclose(library);
        return std::nullopt;
    }
    // Loads the decoder and encoder plugins, which is not safe from two threads at once; the static
    // below makes sure it runs once. The library stays open for the life of the process.
    init(nullptr);
    return heif;
}

} // namespace

const HeifLibrary* HeifLibrary::get()
{
    static const std::optional<HeifLibrary> library = open();
    return library ? &*library : nullptr;
}

} // namespace plenoria
