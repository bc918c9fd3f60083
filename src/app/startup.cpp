// Start-up: writes the handwriting page, reads the tables, installs the tray
// icon, places the panel and enters stroke mode.
#include "app/app.h"
#include "engine/builtin.h"

namespace lumiko {

namespace {
constexpr const char* kTrayTip = "Lumiko输入法 1.0 ";

// A dictionary name must stay a plain file name inside 词库\字典: a name
// holding a path separator, a drive colon or a parent reference would read a
// file elsewhere. Scans whole GBK characters, since a trail byte can be 0x5C.
bool plainFileName(std::string_view name) {
    if (name == "." || name == "..") return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b >= 0x81 && b <= 0xFE && i + 1 < name.size()) {
            ++i;
            continue;
        }
        if (b == '\\' || b == '/' || b == ':') return false;
    }
    return true;
}
}  // namespace

void App::loadTables() {
    auto table = [this](const Text& path) {
        std::string bytes;
        svc_.readFile(path, bytes);
        return SharedText(bytes + "\r\n");
    };
    g.strokeTable = table(files.tables + "\\笔画.txt");
    g.extraStrokeTable = table(files.tables + "\\附加笔画.txt");
    g.fourCornerTable = table(files.tables + "\\四角号码.txt");
    g.associationTable = table(files.tables + "\\联想词.txt");
    // The line indexes are made now, so that no click pays for them.
    for (const SharedText* t : {&g.strokeTable, &g.extraStrokeTable, &g.fourCornerTable, &g.associationTable})
        t->prepareIndex();
    for (auto table : {builtin::componentList, builtin::commonCharacterList, builtin::strokeComponentTable,
                       builtin::componentCodeTable})
        builtin::shared(table).prepareIndex();

    const std::string name = readDictionaryChoice();
    std::string dictionary;
    if (!name.empty() && plainFileName(name))
        for (const Text& folder : files.dictionaryFolders)
            if (svc_.readFile(folder + "\\" + name + ".txt", dictionary)) break;
    g.dictionaryText = SharedText(std::move(dictionary));
    g.dictionaryName = name;
}

// The stored choice, or else the default shipped with the tables.
Text App::readDictionaryChoice() {
    std::string name;
    for (const Text& path : files.choiceSources)
        if (svc_.readFile(path, name)) break;
    return name;
}

void App::startUp() {
    const Text page = svc_.tempFolder() + "s1.html";
    svc_.writeFile(page, std::string(builtin::handwritingPage()));
    svc_.setNoActivate();
    files = resolveLayout(svc_.layoutFacts());
    loadTables();
    svc_.browserNavigate(page);
    g.padOpenPending = 1;
    svc_.trayAdd(kTrayTip);

    int screenWidth = 0, screenHeight = 0;
    svc_.screenSize(screenWidth, screenHeight);
    form.left = screenWidth - form.width - 60;
    form.top = screenHeight - form.height - 60;

    form.WebBrowser1.top = 33;
    form.按钮3.picture = &builtin::icon("backspace");
    form.按钮4.picture = &builtin::icon("space");
    form.按钮5.picture = &builtin::icon("enter");
    form.标签1.picture = &builtin::icon("lumiko");
    g.codeActive = 0;
    enterStrokeMode();
}

}  // namespace lumiko
