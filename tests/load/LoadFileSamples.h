#pragma once

#include "common/SampleLoad.h"

#include <string>

namespace brimlo::testing {

// A log line as the load file holds it, line end included.
inline const std::string kSampleLogLine =
    "0   1S GR01 20 50  0  0  0    250    0  26   1 0N  0\r\n";

// A header line typed position by position: trim allowance on, load number
// 123456, 15 December 2006, TM 9 "TM12345678", method "S".
inline const std::string kSampleHeaderLine = std::string("3")         // 1
                                             + "ACME TIMBER         " // 2-21
                                             + "NORTH MILL          " // 22-41
                                             + "CTL       "           // 42-51
                                             + "A1  "                 // 52-55
                                             + "   1234"              // 56-62
                                             + "  12"                 // 63-66
                                             + "23456"                // 67-71
                                             + "061215"               // 72-77
                                             + "  7"                  // 78-80
                                             + "10"                   // 81-82
                                             + " 12344"               // 83-88
                                             + "KG"                   // 89-90
                                             + "TM12345"              // 91-97
                                             + "S "                   // 98-99
                                             + "GR"                   // 100-101
                                             + "01"                   // 102-103
                                             + "                    " // 104-123
                                             + " A"                   // 124-125
                                             + "  1"                  // 126-128
                                             + "  25"                 // 129-132
                                             + "                "     // 133-148
                                             + "Y"                    // 149
                                             + "20061215"             // 150-157
                                             + "TM12345678"           // 158-167
                                             + "S"                    // 168
                                             + "123456"               // 169-174
                                             + "J SMITH             " // 175-194
                                             + "P123  "               // 195-200
                                             + "1";                   // 201

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

} // namespace brimlo::testing
