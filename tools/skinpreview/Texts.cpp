#include "Texts.h"

#include "store/IniFile.h"

namespace zarvin::preview {

QString Texts::Get(const char* section, const char* key) const {
    return QString::fromStdString(ReadIniString(file_, section, key, "#Error"));
}

}  // namespace zarvin::preview
