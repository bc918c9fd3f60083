#include "platform/qt/browser.h"

#include <QDesktopServices>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineScript>

#include "platform/posix/encoding.h"

namespace lumiko::desktop {

namespace {

QString fromGbk(const Text& t) { return QString::fromStdString(posix::gbkToUtf8(t)); }
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
    // First asked for: the page is asked at the next poll.
    Watch w;
    w.byId = byId;
    w.key = key;
    watches_.push_back(std::move(w));
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

void BrowserDocument::run(const QString& script) {
    ++sequence_;
    lastWrite_ = sequence_;
    page_.runJavaScript(script, QWebEngineScript::ApplicationWorld);
}

void BrowserDocument::setValue(size_t i, const Text& v) {
    Watch& w = watches_[i];
    // What the page added since the program last read the field is kept:
    // the part the program knew is replaced, the rest stays for the next read.
    const QString script = "(function(){var e=" + find(w.byId, w.key) +
                           ";if(!e)return;var known=" + literal(fromGbk(w.value)) +
                           ",now=String(e.value==null?'':e.value);e.value=" + literal(fromGbk(v)) +
                           "+(known.length&&now.indexOf(known)===0?now.slice(known.length):'');})()";
    run(script);
    w.value = v;
}

void BrowserDocument::clickWatched(size_t i) {
    const Watch& w = watches_[i];
    run("(function(){var e=" + find(w.byId, w.key) + ";if(e&&e.click)e.click();})()");
}

void BrowserDocument::clickLink(size_t index, const Link& link) {
    // The link at that place if it is still the same one, else the first
    // link with the same address and text.
    run(QString("(function(){var a=document.getElementsByTagName('a'),h=%1,t=%2,e=a[%3];"
                "if(!(e&&e.href===h&&(e.innerText||'')===t)){e=null;for(var i=0;i<a.length;i++)"
                "if(a[i].href===h&&(a[i].innerText||'')===t){e=a[i];break;}}if(e)e.click();})()")
            .arg(literal(fromGbk(link.href)), literal(fromGbk(link.innerText)))
            .arg(index));
}

void BrowserDocument::poll() {
    if (!loaded_ || pollPending_) return;
    QJsonArray asked;
    for (const Watch& w : watches_) asked.append(QJsonArray{w.byId ? 1 : 0, fromGbk(w.key)});
    const QString script =
        "(function(w){var r=[];for(var i=0;i<w.length;i++){var e=w[i][0]?document.getElementById(w[i][1])"
        ":document.getElementsByName(w[i][1])[0];r.push(e?[1,String(e.value==null?'':e.value),"
        "e.innerText||'',e.href==null?'':String(e.href)]:[0]);}var a=document.getElementsByTagName('a'),"
        "l=[];for(var j=0;j<a.length;j++)l.push([a[j].innerText||'',String(a[j].href)]);return [r,l];})(" +
        QString::fromUtf8(QJsonDocument(asked).toJson(QJsonDocument::Compact)) + ")";
    pollPending_ = true;
    const unsigned long long asked_at = ++sequence_;
    const unsigned long long load = loads_;
    page_.runJavaScript(script, QWebEngineScript::ApplicationWorld, [this, asked_at, load](const QVariant& r) {
        if (load != loads_) return;  // a new page began loading; its own poll follows
        pollPending_ = false;
        answer(asked_at, r);
    });
}

void BrowserDocument::answer(unsigned long long asked, const QVariant& result) {
    // A write sent after this question changed the page after it answered.
    if (asked < lastWrite_) return;
    const QVariantList parts = result.toList();
    if (parts.size() != 2) return;
    const QVariantList found = parts[0].toList();
    for (size_t i = 0; i < watches_.size() && i < static_cast<size_t>(found.size()); ++i) {
        const QVariantList e = found[static_cast<qsizetype>(i)].toList();
        Watch& w = watches_[i];
        w.known = true;
        w.exists = !e.isEmpty() && e[0].toInt() == 1 && e.size() == 4;
        if (w.exists) {
            w.value = toGbk(e[1].toString());
            w.innerText = toGbk(e[2].toString());
            w.href = toGbk(e[3].toString());
        } else {
            w.value.clear();
            w.innerText.clear();
            w.href.clear();
        }
    }
    links_.clear();
    for (const QVariant& l : parts[1].toList()) {
        const QVariantList pair = l.toList();
        if (pair.size() == 2) links_.push_back({toGbk(pair[0].toString()), toGbk(pair[1].toString())});
    }
}

void BrowserDocument::loadStarted() {
    ++loads_;
    pollPending_ = false;
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
    loaded_ = true;
    poll();
}

QWebEnginePage* BrowserPage::createWindow(WebWindowType) {
    if (onNewWindow) onNewWindow();
    // The request itself goes on in the desktop's web browser: the new page
    // only learns the address it is sent to, hands it over and goes away.
    auto* page = new QWebEnginePage(this);
    QObject::connect(page, &QWebEnginePage::urlChanged, page, [page](const QUrl& url) {
        if (url.isEmpty() || url.toString() == "about:blank") return;
        QDesktopServices::openUrl(url);
        page->deleteLater();
    });
    return page;
}

BrowserView::BrowserView(QWidget* parent)
    : QWebEngineView(parent), page_(new BrowserPage(this)),
      document_(std::make_unique<BrowserDocument>(*page_)) {
    setPage(page_);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { document_->loadStarted(); });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) { document_->loadFinished(ok); });
}

}  // namespace lumiko::desktop
