#pragma once

#include <array>
#include <string>
#include <vector>

namespace brimlo {

// Which of the eight allowed-method lists: type 2 has one per volume method.
enum class AllowedList { Type1, Type2Smalian, Type2Alberta, Type3, Type4, Type5, Type6, Type7 };

using CodeList = std::vector<std::string>;

// The codes the selectors offer and the rules accept, in the order offered.
// They are fixed tables of the rules, the same in every run: nothing sets
// them, so one constant instance serves every reader.
class CodeLists {
public:
    static const CodeLists& Standard();

    const CodeList& speciesList() const { return species_; }
    const CodeList& productList() const { return products_; }
    const CodeList& conditionList() const { return conditions_; }
    const CodeList& cullTypeList() const { return cullTypes_; }
    const CodeList& cullMethodList() const { return cullMethods_; }
    const CodeList& allowedMethods(AllowedList which) const;
    // The methods offered for a cull type under a volume method ('S' or
    // 'A'); empty for a blank or unknown type.
    const CodeList& allowedMethodsFor(char cullType, char volumeMethod) const;

private:
    CodeLists();

    CodeList species_;
    CodeList products_;
    CodeList conditions_;
    CodeList cullTypes_;
    CodeList cullMethods_;
    std::array<CodeList, 8> allowed_;
};

} // namespace brimlo
