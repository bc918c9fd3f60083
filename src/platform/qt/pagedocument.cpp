#include "platform/qt/pagedocument.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <utility>

#include "platform/posix/encoding.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/pagewire.h"

namespace lumiko::desktop {

namespace {
Text toGbk(const QString& s) { return posix::utf8ToGbk(s.toStdString()); }

// A JavaScript string literal.
QString literal(const QString& s) {
    const QByteArray json = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(json.mid(1, json.size() - 2));
}

QString find(bool byId, const Text& key) {
    return byId ? "document.getElementById(" + literal(fromGbk(key)) + ")"
                : "document.getElementsByName(" + literal(fromGbk(key)) + ")[0]";
}

class WatchedElement : public PageElement {
public:
    WatchedElement(BrowserDocument& doc, size_t index) : doc_(doc), index_(index) {}
    Text value() const override { return doc_.watch(index_).value; }
    void setValue(const Text& v) override { doc_.setValue(index_, v); }
    Text innerText() const override { return doc_.watch(index_).innerText; }
    Text href() const override { return doc_.watch(index_).href; }
    void click() override { doc_.clickWatched(index_); }

private:
    BrowserDocument& doc_;
    size_t index_;
};

class LinkElement : public PageElement {
public:
    LinkElement(BrowserDocument& doc, size_t index, BrowserDocument::Link link)
        : doc_(doc), index_(index), link_(std::move(link)) {}
    // A link's value is not read by anyone; it has none in the page either.
    Text value() const override { return {}; }
    void setValue(const Text&) override {}
    Text innerText() const override { return link_.innerText; }
    Text href() const override { return link_.href; }
    void click() override { doc_.clickLink(index_, link_); }

private:
    BrowserDocument& doc_;
    size_t index_;
    BrowserDocument::Link link_;
};

}  // namespace

std::shared_ptr<PageElement> BrowserDocument::element(bool byId, const Text& key) {
    if (!loaded_ || key.empty()) return nullptr;
    for (size_t i = 0; i < watches_.size(); ++i) {
        const Watch& w = watches_[i];
        if (w.byId != byId || w.key != key) continue;
        if (!w.exists) return nullptr;
        return std::make_shared<WatchedElement>(*this, i);
    }
    // First asked for: the watcher looks at it from now on and reports.
    Watch w;
    w.byId = byId;
    w.key = key;
    watches_.push_back(std::move(w));
    installWatcher();
    return nullptr;
}

std::shared_ptr<PageElement> BrowserDocument::elementByName(const Text& name) { return element(false, name); }
std::shared_ptr<PageElement> BrowserDocument::elementById(const Text& id) { return element(true, id); }

std::vector<std::shared_ptr<PageElement>> BrowserDocument::links() {
    std::vector<std::shared_ptr<PageElement>> out;
    if (!loaded_) return out;
    for (size_t i = 0; i < links_.size(); ++i) out.push_back(std::make_shared<LinkElement>(*this, i, links_[i]));
    return out;
}

// Every write and click is numbered; the watcher reports at once after it,
// with its number, so that reports written before it can be told apart.
void BrowserDocument::run(const QString& body) {
    ++lastWrite_;
    run_(QString("(function(){window.__lumikoSeq=%1;%2;if(window.__lumikoCheck){"
                                "window.__lumikoLast='';window.__lumikoCheck();}})()")
                            .arg(lastWrite_)
                            .arg(body));
}

void BrowserDocument::setValue(size_t i, const Text& v) {
    Watch& w = watches_[i];
    // Writing what the page holds changes nothing; the timer clears the
    // empty field at every tick.
    if (w.known && w.value == v) return;
    // What the page added since the program last read the field is kept:
    // the part the program knew is replaced, the rest stays for the next read.
    run("var e=" + find(w.byId, w.key) + ";if(e){var known=" + literal(fromGbk(w.value)) +
        ",now=String(e.value==null?'':e.value);e.value=" + literal(fromGbk(v)) +
        "+(known.length&&now.indexOf(known)===0?now.slice(known.length):'');}");
    w.value = v;
}

void BrowserDocument::clickWatched(size_t i) {
    const Watch& w = watches_[i];
    run("var e=" + find(w.byId, w.key) + ";if(e&&e.click)e.click()");
}

void BrowserDocument::clickLink(size_t index, const Link& link) {
    // The link at that place if it is still the same one, else the first
    // link with the same address and text.
    run(QString("var a=document.getElementsByTagName('a'),h=%1,t=%2,e=a[%3];"
                "if(!(e&&e.href===h&&(e.innerText||'')===t)){e=null;for(var i=0;i<a.length;i++)"
                "if(a[i].href===h&&(a[i].innerText||'')===t){e=a[i];break;}}if(e)e.click()")
            .arg(literal(fromGbk(link.href)), literal(fromGbk(link.innerText)))
            .arg(index));
}

void BrowserDocument::installWatcher() {
    if (!loaded_) return;
    QJsonArray asked;
    for (const Watch& w : watches_) asked.append(QJsonArray{w.byId ? 1 : 0, fromGbk(w.key)});
    // Looks whenever the page tells that a field changed (an input event;
    // the page fires one when a script writes the field) and whenever the
    // document changes (links come and go), and otherwise rests: no timer
    // runs in the page. Reports only what changed.
    const QString script =
        "(function(w){var g=window;g.__lumikoWatch=w;g.__lumikoLast='';if(g.__lumikoSeq===undefined)"
        "g.__lumikoSeq=0;if(!g.__lumikoCheck){g.__lumikoCheck=function(){var r=[],W=g.__lumikoWatch;"
        "for(var i=0;i<W.length;i++){var e=W[i][0]?document.getElementById(W[i][1]):"
        "document.getElementsByName(W[i][1])[0];r.push(e?[1,String(e.value==null?'':e.value),"
        "e.innerText||'',e.href==null?'':String(e.href)]:[0]);}var a=document.getElementsByTagName('a'),"
        "l=[];for(var j=0;j<a.length;j++)l.push([a[j].innerText||'',String(a[j].href)]);"
        "var s=JSON.stringify([r,l]);if(s!==g.__lumikoLast){g.__lumikoLast=s;console.log(" +
        literal(QString::fromUtf8(pagewire::kReportPrefix)) +
        "+g.__lumikoSeq+' '+s);}};var d=document,c=function(){g.__lumikoCheck();};"
        "d.addEventListener('input',c,true);d.addEventListener('change',c,true);"
        "if(g.MutationObserver)new MutationObserver(c).observe(d,{subtree:true,childList:true,attributes:true,"
        "characterData:true,attributeFilter:['href','name','id']});}g.__lumikoCheck();})(" +
        QString::fromUtf8(QJsonDocument(asked).toJson(QJsonDocument::Compact)) + ")";
    run_(script);
}

void BrowserDocument::report(const QString& body) {
    const qsizetype space = body.indexOf(' ');
    if (space <= 0) return;
    bool ok = false;
    const unsigned long long sequence = body.left(space).toULongLong(&ok);
    if (!ok || sequence < lastWrite_) return;
    const QJsonArray parts = QJsonDocument::fromJson(body.mid(space + 1).toUtf8()).array();
    if (parts.size() != 2) return;
    const QJsonArray found = parts[0].toArray();
    if (static_cast<size_t>(found.size()) > watches_.size()) return;  // from a later watch list
    bool changed = false;
    for (size_t i = 0; i < static_cast<size_t>(found.size()); ++i) {
        const QJsonArray e = found[static_cast<qsizetype>(i)].toArray();
        Watch& w = watches_[i];
        const Text before = w.value;
        w.known = true;
        w.exists = e.size() == 4 && e[0].toInt() == 1;
        w.value = w.exists ? toGbk(e[1].toString()) : Text();
        w.innerText = w.exists ? toGbk(e[2].toString()) : Text();
        w.href = w.exists ? toGbk(e[3].toString()) : Text();
        changed = changed || w.value != before;
    }
    links_.clear();
    for (const QJsonValue& l : parts[1].toArray()) {
        const QJsonArray pair = l.toArray();
        if (pair.size() == 2) links_.push_back({toGbk(pair[0].toString()), toGbk(pair[1].toString())});
    }
    if (onFirstReport) std::exchange(onFirstReport, nullptr)();
    if (changed && onChanged) onChanged();
}

void BrowserDocument::loadStarted() {
    for (Watch& w : watches_) {
        Watch fresh;
        fresh.byId = w.byId;
        fresh.key = w.key;
        w = std::move(fresh);
    }
    links_.clear();
}

void BrowserDocument::loadFinished(bool) {
    // Even a page that failed to load in part (no network) has a document.
    // Its script world is new: the watcher goes in again, and the numbering
    // of writes starts afresh there.
    loaded_ = true;
    lastWrite_ = 0;
    installWatcher();
}

}  // namespace lumiko::desktop
