// Start-up: writes the handwriting page, reads the tables, installs the tray
// icon, places the panel and enters stroke mode.
#include "app/app.h"
#include "app/config.h"
#include "engine/builtin.h"

namespace lumiko {

namespace {
constexpr const char* kTrayTip = "Lumiko输入法 1.0 ";
}  // namespace

void App::loadTables() {
    auto table = [this](const Text& path) {
        std::string bytes;
        if (!svc_.readFile(path, bytes)) svc_.log(Text("cannot read the table ") + path);
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
    if (!name.empty() && isBareDictionaryName(name)) {
        bool found = false;
        for (const Text& folder : files.dictionaryFolders)
            if ((found = svc_.readFile(folder + "\\" + name + ".txt", dictionary))) break;
        if (!found) svc_.log("cannot read the dictionary " + name + ".txt");
    }
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
