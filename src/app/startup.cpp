// Start-up: writes the handwriting page, reads the tables, installs the tray
// icon, places the panel and enters stroke mode.
#include "app/app.h"
#include "engine/builtin.h"
#include "web/dictionarynames.h"

namespace lumiko {

namespace {
constexpr const char* kTrayTip = "Lumiko输入法 1.0 ";
}  // namespace

// The four code tables are read whole; each that is missing, unreadable or
// empty is named, with the reason, in one message at the end of start-up,
// since the panel then finds nothing for the codes that table serves.
void App::loadTables() {
    Text problems;
    auto table = [&](const char* file) {
        std::string bytes;
        const Text path = files.tables + "\\" + file;
        if (!svc_.readFile(path, bytes)) problems += Text(file) + ": " + svc_.lastFileError() + "\r\n";
        else if (bytes.empty()) problems += Text(file) + ": 文件为空\r\n";
        // Made to measure: the table lives until the panel ends.
        Text text;
        text.reserve(bytes.size() + 2);
        text.append(bytes).append("\r\n");
        return SharedText(std::move(text));
    };
    g.strokeTable = table("笔画.txt");
    g.extraStrokeTable = table("附加笔画.txt");
    g.fourCornerTable = table("四角号码.txt");
    g.associationTable = table("联想词.txt");
    if (!problems.empty()) tableProblems_ = "以下码表缺失、无法读取或为空,面板查不到它们的候选字:\r\n" + problems +
                                            "查找的文件夹: " + svc_.absolutePath(files.tables);

    // The chosen dictionary: the stored name without the blanks and line
    // breaks around it, its file found whatever the case of ".txt", in the
    // user's folder first. No choice, or a name that would lead out of the
    // folder, loads nothing.
    const Text name = trimStoredName(readDictionaryChoice());
    std::string dictionary;
    if (const Text problem = dictionaryNameProblem(name); !problem.empty()) {
        svc_.log("dictionary name refused: \"" + name + "\" (" + problem + ")");
    } else {
        bool found = false;
        for (const Text& folder : files.dictionaryFolders) {
            for (const Text& file : dictionaryFileNames(name, svc_.listFiles(folder, ".txt")))
                if ((found = svc_.readFile(folder + "\\" + file, dictionary))) break;
            if (found) break;
        }
        // An empty name reads ".txt" too; only a name chosen and not found is told.
        if (!found && !name.empty()) svc_.log("cannot read the dictionary " + name + ".txt");
    }
    g.dictionaryText = SharedText(std::move(dictionary));
    g.dictionaryName = name;
    indexesPrepared_ = false;
}

// The tables' indexes are made at the first timer tick, once the panel is on
// screen, so that neither start-up nor a click pays for them (a search before
// that tick makes the index it needs itself).
void App::prepareIndexes() {
    for (const SharedText* t : {&g.strokeTable, &g.extraStrokeTable, &g.fourCornerTable, &g.associationTable})
        t->prepareIndex();
    for (const SharedText* t : {&g.strokeTable, &g.extraStrokeTable, &g.fourCornerTable})
        t->prepareCodeIndex(CodeChars::Digits);
    for (auto table : {builtin::componentList, builtin::commonCharacterList, builtin::strokeComponentTable,
                       builtin::componentCodeTable})
        builtin::shared(table).prepareIndex();
    g.dictionaryText.prepareCodeIndex(CodeChars::Letters);
    indexesPrepared_ = true;
    svc_.returnFreedMemory();
}

// The stored choice, or else the default shipped with the tables.
Text App::readDictionaryChoice() {
    std::string name;
    for (const Text& path : files.choiceSources)
        if (svc_.readFile(path, name)) break;
    return name;
}

void App::startUp() {
    // The handwriting page goes where no other account can reach it. A page
    // that cannot be written there is not shown at all: the view tells why
    // in its place.
    const Text page = svc_.writePrivateFile("s1.html", std::string(builtin::handwritingPage()));
    const Text pageProblem = page.empty() ? svc_.lastFileError() : Text();
    svc_.setNoActivate();
    const LayoutFacts facts = svc_.layoutFacts();
    files = resolveLayout(facts);
    loadTables();
    loadLearning(memoryFile(facts));
    if (!page.empty()) {
        svc_.browserNavigate(page);
    } else {
        svc_.log("the handwriting page cannot be written: " + pageProblem);
        svc_.browserUnavailable("无法写入手写输入页面(" + pageProblem + ")");
    }
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

    if (!tableProblems_.empty()) {
        svc_.log(tableProblems_);
        svc_.messageBox("Lumiko输入法 1.0", tableProblems_, Buttons::Ok);
    }
}

}  // namespace lumiko
