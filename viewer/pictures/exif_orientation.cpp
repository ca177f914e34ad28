#include "viewer/pictures/exif_orientation.h"

#include <cstring>

#include <libexif/exif-data.h>

namespace vimbrel {

int readExifOrientation(const unsigned char* data, size_t size)
{
    constexpr unsigned char kHeader[] = {'E', 'x', 'i', 'f', 0, 0};
    if (data == nullptr || size < sizeof kHeader ||
        std::memcmp(data, kHeader, sizeof kHeader) != 0) {
        return 1;
    }
    ExifData* exif = exif_data_new();
    if (exif == nullptr) {
        return 1;
    }
    // Read the tags as they are: following the standard would let libexif add
    // missing entries with default values.
    exif_data_unset_option(exif, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(exif, data, static_cast<unsigned int>(size));
    int orientation = 1;
    if (ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION)) {
        if (entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->size >= 2 &&
            entry->data != nullptr) {
            const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif));
            if (value >= 1 && value <= 8) {
                orientation = value;
            }
        }
    }
    exif_data_unref(exif);
    return orientation;
}

} // namespace vimbrel
