// SPDX-License-Identifier: GPL-3.0-or-later
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

namespace {

// Further codes other programs write, named as ExifTool names them (IPRT
// and IFRM as TagLib and MediaInfo read them); not offered for new fields.
const InfoFieldName kFurtherFieldNames[] = {
    {"IAS1", "First Language"},
    {"IAS2", "Second Language"},
    {"IAS3", "Third Language"},
    {"IAS4", "Fourth Language"},
    {"IAS5", "Fifth Language"},
    {"IAS6", "Sixth Language"},
    {"IAS7", "Seventh Language"},
    {"IAS8", "Eighth Language"},
    {"IAS9", "Ninth Language"},
    {"IBSU", "Base URL"},
    {"ICAS", "Default Audio Stream"},
    {"ICDS", "Costume Designer"},
    {"ICNM", "Cinematographer"},
    {"ICNT", "Country"},
    {"IDIT", "Date/Time Original"},
    {"IDST", "Distributed By"},
    {"IEDT", "Edited By"},
    {"IFRM", "Number Of Parts"},
    {"ILGU", "Logo URL"},
    {"ILIU", "Logo Icon URL"},
    {"ILNG", "Language"},
    {"IMBI", "More Info Banner Image"},
    {"IMBU", "More Info Banner URL"},
    {"IMIT", "More Info Text"},
    {"IMIU", "More Info URL"},
    {"IMUS", "Music By"},
    {"IPDS", "Production Designer"},
    {"IPRO", "Produced By"},
    {"IPRT", "Part"},
    {"IRTD", "Rating"},
    {"ISGN", "Secondary Genre"},
    {"ISMP", "Time Code"},
    {"ISTD", "Production Studio"},
    {"ISTR", "Starring"},
    {"ITRK", "Track Number"},
    {"IWMU", "Watermark URL"},
    {"IWRI", "Written By"},
    {"AGES", "Rated"},
    {"CMNT", "Comment"},
    {"CODE", "Encoded By"},
    {"COMM", "Comments"},
    {"DIRC", "Directory"},
    {"DISP", "Sound Scheme Title"},
    {"DTIM", "Date/Time Original"},
    {"GENR", "Genre"},
    {"LANG", "Language"},
    {"LOCA", "Location"},
    {"PRT1", "Part"},
    {"PRT2", "Number Of Parts"},
    {"RATE", "Rate"},
    {"STAR", "Starring"},
    {"STAT", "Statistics"},
    {"TAPE", "Tape Name"},
    {"TCDO", "End Timecode"},
    {"TCOD", "Start Timecode"},
    {"TITL", "Title"},
    {"TLEN", "Length"},
    {"TORG", "Organization"},
    {"TRCK", "Track Number"},
    {"TURL", "URL"},
    {"TVER", "Version"},
    {"VMAJ", "Vegas Version Major"},
    {"VMIN", "Vegas Version Minor"},
    {"YEAR", "Year"},
};

}  // namespace

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
    for (const InfoFieldName& entry : kFurtherFieldNames)
        if (std::strncmp(key, entry.code, 4) == 0) return entry.name;
    return "? ? ?";
}

}  // namespace quibo
