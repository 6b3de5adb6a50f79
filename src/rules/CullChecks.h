#pragma once

#include <string>

namespace brimlo {

// True when a cull type admits a cull method under a volume method (type 2
// takes methods 3, 4, 5 and 7 only under Smalian's formula).
bool IsCullMethodAllowed(char volumeMethod, char cullType, char cullMethod);

// Raising checks of the cull entries; characters are blank when the field
// is empty. A blank cull type empties methodField before raising.
void CheckCullMethodForType(char volumeMethod, char cullType, char cullMethod,
                            std::string& methodField);
void CheckC1(char cullMethod, int c1, int c2, int topd, int length, int grossvol, int buttd,
             char volumeMethod);
void CheckC2(char cullMethod, int c1, int c2, int topd);
void CheckC3(char cullMethod, int c3, int length);

} // namespace brimlo
