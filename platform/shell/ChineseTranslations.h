#pragma once

class QCoreApplication;

namespace shell {

// Qt's own texts (dialog buttons, file dialog columns, context menus) in Simplified
// Chinese, like every text of the program.
class ChineseTranslations {
public:
    // Loads Qt's Simplified Chinese catalogue into the application; false when it is not
    // installed, in which case Qt's own texts stay English.
    static bool Install(QCoreApplication& app);
};

} // namespace shell
