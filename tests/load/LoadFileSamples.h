#pragma once

#include "common/SampleLoad.h"

#include <cmath>
#include <string>

namespace brimlo::testing {

// A log line as the load file holds it, line end included.
inline const std::string kSampleLogLine =
    "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n";

// A header line typed position by position: trim allowance on, load number
// 123456, 15 December 2006, TM 9 "TM12345678", method "S".
inline const std::string kSampleHeaderLine =
    std::string("3ACME TIMBER         NORTH MILL          ") // 1, lessee 2-21, mill 22-41
    + "CTL       A1     1234  12"        // disposition 42-51, sub 52-55, mill 56-62, block 63-66
    + "23456061215  710 12344KG"         // load 67-71, date 72-77, pop 78-80, top 81-82, net 83-90
    + "TM12345S GR01"                    // timber mark 91-97, species 98-99, codes 100-103
    + std::string(20, ' ')               // source 104-123
    + " A  1  25"                        // mill code 124-125, load id 126-128, trees 129-132
    + std::string(16, ' ') + "Y20061215" // blank 133-148, sawlogs 149, date 150-157
    + "TM12345678S123456"                // timber mark 158-167, method 168, load 169-174
    + "J SMITH             P123  1";     // scaler 175-194, permit 195-200, trim allowance 201

// The sample header cut after position n (1-based).
inline std::string SampleHeaderUpTo(std::size_t n) {
    return kSampleHeaderLine.substr(0, n);
}

// The sample header with the characters from position pos replaced.
inline std::string SampleHeaderWith(std::size_t pos, const std::string& text) {
    std::string line = kSampleHeaderLine;
    line.replace(pos - 1, text.size(), text);
    return line;
}

// The sample log line with its text replaced from position pos.
inline std::string SampleLogWith(std::size_t pos, const std::string& text) {
    return std::string(kSampleLogLine).replace(pos - 1, text.size(), text);
}

// The records the sample lines hold, texts as keyed (the file pads them).
inline LogRecord SampleLogRecord() { // number, codes, top, length, cull, volumes, butt, ...
    return LogRecord{1, "S", "GR", "01", 20, 50, 0, 0, 0, "", "", 250, 0, 26, " ", 1, 0, "N", 0};
}

inline HeaderRecord SampleHeaderRecord() {
    HeaderRecord h = SampleHeader();
    h.LESSEE = "ACME TIMBER";
    h.MILL_NUM = 1234;
    h.LOAD_NUM = 123456;
    h.POP = 7;
    h.HTOPD = 10;
    h.NETWEIGHT = 12344.5; // written half to even
    h.TM9 = "TM12345678";
    h.SOURCE = "";
    h.MILL_CODE = "A";
    h.LOAD_ID = 1;
    h.TREES = 25;
    h.SAWLOGS = "Y";
    h.DATEWEIGHED = Date::fromYmd(2006, 12, 15);
    h.SCALER_NAME = "J SMITH";
    h.SCALER_PERMIT = "P123";
    return h;
}

// A text cut or blank-filled to its field's width.
inline std::string Padded(const std::string& s, std::size_t width, bool right = false) {
    const std::string cut = s.substr(0, width), fill(width - cut.size(), ' ');
    return right ? fill + cut : cut + fill;
}

// Codes come back without their blanks at either end.
inline std::string Stripped(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// One character fields come back as their first character, a blank for
// an empty field.
inline std::string OneChar(const std::string& s) {
    return s.empty() ? " " : s.substr(0, 1);
}

// A header as its load file line gives it back: texts padded to their
// widths, codes trimmed, the net weight rounded half to even.
inline HeaderRecord HeaderAsRead(const HeaderRecord& in) {
    HeaderRecord h = in;
    h.LESSEE = Padded(in.LESSEE, 20);
    h.MILL_NAME = Padded(in.MILL_NAME, 20);
    h.DISP = Padded(in.DISP, 10);
    h.SUBDISP = Padded(in.SUBDISP, 4);
    h.BLOCK_NUM = Padded(in.BLOCK_NUM, 4, true);
    h.NETWEIGHT = std::nearbyint(in.NETWEIGHT);
    h.TM9 = Stripped(in.TM9).empty() ? Padded(in.TM9, 7) : Padded(in.TM9, 10);
    h.HSPECIES = Stripped(Padded(in.HSPECIES, 2));
    h.HCONDCODE = Stripped(Padded(in.HCONDCODE, 2));
    h.HPRODCODE = Stripped(Padded(in.HPRODCODE, 2));
    h.SOURCE = Padded(in.SOURCE, 20);
    h.MILL_CODE = Stripped(Padded(in.MILL_CODE, 2, true));
    h.SAWLOGS = OneChar(in.SAWLOGS);
    h.VOL_CALC_METH = "S";
    h.SCALER_NAME = Padded(in.SCALER_NAME, 20);
    h.SCALER_PERMIT = Padded(in.SCALER_PERMIT, 6);
    return h;
}

} // namespace brimlo::testing
