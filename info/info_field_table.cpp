#include "info/info_field_table.h"

#include <cstring>
#include <strings.h>

namespace quibo {

const InfoFieldName InfoFieldTable[26] = {
    {"IARL", "Archival Location"}, {"IART", "Artist"},     {"ICMS", "Commissioned"},
    {"ICMT", "Comments"},          {"ICOP", "Copyright"},  {"ICRD", "Creation date"},
    {"ICRP", "Cropped"},           {"IDIM", "Dimensions"}, {"IDPI", "Dots Per Inch"},
    {"IENC", "Encoded *"},         {"IENG", "Engineer"},   {"IGNR", "Genre"},
    {"IKEY", "Keywords"},          {"ILGT", "Lightness"},  {"IMED", "Medium"},
    {"INAM", "Name"},              {"IPLT", "Palette Setting"}, {"IPRD", "Product"},
    {"ISBJ", "Subject"},           {"ISFT", "Software"},   {"ISHP", "Sharpness"},
    {"ISRC", "Source"},            {"ISRF", "Source Form"}, {"IRIP", "Ripped *"},
    {"ITCH", "Technician"},        {"", ""},
};

const char* InfoFieldNameFor(std::string_view code) {
    if (code.size() == 4 && ::strncasecmp(code.data(), "JUNK", 4) == 0) return "(ASCII in junk chunk)";
    // Codes compare over four characters like strncmp: a shorter code ends
    // at its terminator.
    char key[5] = {};
    std::memcpy(key, code.data(), code.size() < 4 ? code.size() : 4);
    for (const InfoFieldName& entry : InfoFieldTable) {
        if (entry.code[0] == '\0') break;
        if (std::strncmp(key, entry.code, 4) == 0) return entry.name;
    }
    return "? ? ?";
}

}  // namespace quibo
