#include "HeifLibrary.h"

#include "Error.h"
#include "FormatsLog.h"

#include <dlfcn.h>

namespace vermeo::formats {

namespace {

// The library by the name its package installs (the soname of version 1).
constexpr const char *kLibraryName = "libheif.so.1";

// Each function by its name in the library, into its member.
template <class Function>
bool take(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function)
        qCInfo(lcFormats) << "libheif lacks" << name;
    return function != nullptr;
}

// Null when the library or one of its functions is missing.
const HeifLibrary *load()
{
    // VERMEO_LIBHEIF names another file to load: the tests take a missing one.
    const QByteArray other = qgetenv("VERMEO_LIBHEIF");
    void *library = ::dlopen(other.isEmpty() ? kLibraryName : other.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        qCInfo(lcFormats) << "dlopen" << ::dlerror();
        return nullptr;
    }
    static HeifLibrary l;
    const bool all =
        take(library, "heif_init", l.init) && take(library, "heif_context_alloc", l.context_alloc) &&
        take(library, "heif_context_free", l.context_free) &&
        take(library, "heif_context_set_maximum_image_size_limit", l.context_set_maximum_image_size_limit) &&
        take(library, "heif_context_read_from_memory_without_copy", l.context_read_from_memory_without_copy) &&
        take(library, "heif_context_get_primary_image_handle", l.context_get_primary_image_handle) &&
        take(library, "heif_image_handle_release", l.image_handle_release) &&
        take(library, "heif_image_handle_get_width", l.image_handle_get_width) &&
        take(library, "heif_image_handle_get_height", l.image_handle_get_height) &&
        take(library, "heif_image_handle_has_alpha_channel", l.image_handle_has_alpha_channel) &&
        take(library, "heif_image_handle_get_color_profile_type", l.image_handle_get_color_profile_type) &&
        take(library, "heif_image_handle_get_raw_color_profile_size", l.image_handle_get_raw_color_profile_size) &&
        take(library, "heif_image_handle_get_raw_color_profile", l.image_handle_get_raw_color_profile) &&
        take(library, "heif_image_handle_get_nclx_color_profile", l.image_handle_get_nclx_color_profile) &&
        take(library, "heif_nclx_color_profile_free", l.nclx_color_profile_free) &&
        take(library, "heif_decoding_options_alloc", l.decoding_options_alloc) &&
        take(library, "heif_decoding_options_free", l.decoding_options_free) &&
        take(library, "heif_decode_image", l.decode_image) && take(library, "heif_image_release", l.image_release) &&
        take(library, "heif_image_get_plane_readonly", l.image_get_plane_readonly) &&
        take(library, "heif_image_get_width", l.image_get_width) &&
        take(library, "heif_image_get_height", l.image_get_height) &&
        take(library, "heif_image_get_bits_per_pixel_range", l.image_get_bits_per_pixel_range);
    if (!all) {
        ::dlclose(library);
        return nullptr;
    }
    // Registers the decoder plugins once for the process.
    l.init(nullptr);
    return &l;
}

} // namespace

const HeifLibrary &heifLibrary()
{
    static const HeifLibrary *const loaded = load();
    if (!loaded)
        throw VermeoError(QStringLiteral("bibliothèque libheif absente (paquet libheif1)"));
    return *loaded;
}

} // namespace vermeo::formats
