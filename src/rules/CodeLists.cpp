#include "rules/CodeLists.h"

namespace brimlo {

namespace {

CodeList SpeciesCodes() {
    return {" ",  "A",  "AB", "B",  "DF", "F",  "FA", "IC", "ID", "IF", "LT",
            "OC", "OD", "P",  "PB", "PF", "PW", "S",  "SB", "SE", "SP"};
}

CodeList ConditionCodes() {
    return {"  ", "BD", "BK", "D", "EN", "FK", "GR", "ID", "IS", "OD"};
}

CodeList ProductCodes() {
    return {"  ", "01", "02", "05", "06", "13", "14", "18", "19", "20", "99"};
}

std::array<CodeList, 8> AllowedMethodLists() {
    return {{
        {"2", "3", "4", "5", "6", "7"},
        {"3", "4", "5", "7", "8"},
        {"8"},
        {"1", "2", "3", "4", "5", "7"},
        {"2", "3", "4", "5", "7"},
        {"2", "3", "4", "7"},
        {"2", "3", "4", "5", "7"},
        {"2", "3", "4", "5", "7"},
    }};
}

const CodeList kNoMethods;

} // namespace

CodeLists::CodeLists()
    : species_(SpeciesCodes()), products_(ProductCodes()), conditions_(ConditionCodes()),
      cullTypes_({"1", "2", "3", "4", "5", "6", "7", " "}),
      cullMethods_({"1", "2", "3", "4", "5", "6", "7", "8"}), allowed_(AllowedMethodLists()) {}

const CodeList& CodeLists::allowedMethods(AllowedList which) const {
    return allowed_[static_cast<std::size_t>(which)];
}

const CodeList& CodeLists::allowedMethodsFor(char cullType, char volumeMethod) const {
    switch (cullType) {
    case '1':
        return allowedMethods(AllowedList::Type1);
    case '2':
        return allowedMethods(volumeMethod == 'S' ? AllowedList::Type2Smalian
                                                  : AllowedList::Type2Alberta);
    case '3':
        return allowedMethods(AllowedList::Type3);
    case '4':
        return allowedMethods(AllowedList::Type4);
    case '5':
        return allowedMethods(AllowedList::Type5);
    case '6':
        return allowedMethods(AllowedList::Type6);
    case '7':
        return allowedMethods(AllowedList::Type7);
    default:
        return kNoMethods;
    }
}

const CodeLists& CodeLists::Standard() {
    static const CodeLists lists;
    return lists;
}

} // namespace brimlo
