// The one pair of helpers through which text crosses between the program's
// Windows-1252 bytes and Qt's Unicode strings.
#pragma once

#include <QString>
#include <QStringView>
#include <string>
#include <string_view>

namespace platform {

QString fromCp1252(std::string_view bytes);
// Characters outside the code page become '?'.
std::string toCp1252(QStringView text);

}  // namespace platform
