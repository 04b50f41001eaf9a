// English texts of every string id, sorted by id.
#include "language/language.h"

extern const LanguageText kLanguageTexts[] = {
    {6, "OK"},
    {7, "Cancel"},
    {0, nullptr},
};
