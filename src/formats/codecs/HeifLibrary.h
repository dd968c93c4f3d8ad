#pragma once
// libheif, loaded the first time a HEIF file is read: its HEVC and AV1 decoders (x265,
// libde265, dav1d, aom) then cost nothing to a process that reads no such file.
#include <libheif/heif.h>

namespace vermeo::formats {

// The functions of libheif we call, taken from the library once it is loaded.
struct HeifLibrary {
    decltype(&heif_init) init;
    decltype(&heif_context_alloc) context_alloc;
    decltype(&heif_context_free) context_free;
    decltype(&heif_context_set_maximum_image_size_limit) context_set_maximum_image_size_limit;
    decltype(&heif_context_read_from_memory_without_copy) context_read_from_memory_without_copy;
    decltype(&heif_context_get_primary_image_handle) context_get_primary_image_handle;
    decltype(&heif_image_handle_release) image_handle_release;
    decltype(&heif_image_handle_get_width) image_handle_get_width;
    decltype(&heif_image_handle_get_height) image_handle_get_height;
    decltype(&heif_image_handle_has_alpha_channel) image_handle_has_alpha_channel;
    decltype(&heif_image_handle_get_color_profile_type) image_handle_get_color_profile_type;
    decltype(&heif_image_handle_get_raw_color_profile_size) image_handle_get_raw_color_profile_size;
    decltype(&heif_image_handle_get_raw_color_profile) image_handle_get_raw_color_profile;
    decltype(&heif_image_handle_get_nclx_color_profile) image_handle_get_nclx_color_profile;
    decltype(&heif_nclx_color_profile_free) nclx_color_profile_free;
    decltype(&heif_decoding_options_alloc) decoding_options_alloc;
    decltype(&heif_decoding_options_free) decoding_options_free;
    decltype(&heif_decode_image) decode_image;
    decltype(&heif_image_release) image_release;
    decltype(&heif_image_get_plane_readonly) image_get_plane_readonly;
    decltype(&heif_image_get_width) image_get_width;
    decltype(&heif_image_get_height) image_get_height;
    decltype(&heif_image_get_bits_per_pixel_range) image_get_bits_per_pixel_range;
};

// libheif loaded and started (its decoder plugins registered) once for the process.
// Throws VermeoError ("bibliothèque libheif absente (paquet libheif1)") when the library
// or one of its functions cannot be found; the same each time it is asked again.
const HeifLibrary &heifLibrary();

} // namespace vermeo::formats
