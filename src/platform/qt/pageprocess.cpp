// The panel's side of the handwriting page's process.
#include "platform/qt/pageprocess.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QResizeEvent>
#include <QTimer>

#include "platform/posix/layout.h"
#include "platform/qt/pagedocument.h"
#include "platform/qt/pagewire.h"

namespace lumiko::desktop {

namespace {

constexpr const char* kProgram = "lumiko-page";
// How long a page's process may take to end once told to.
constexpr int kEndMs = 3000;

// The page area: a native window of the panel that the page's process draws
// its view into.
class ProcessBrowser : public QWidget, public PanelBrowser {
public:
    ProcessBrowser(QWidget* parent, const QString& program)
        : QWidget(parent), process_(new QProcess), document_([this](const QString& script) {
              send({"run", script.toStdString()});
          }) {
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        document_.onFirstReport = [this] {
            if (onFirstReport) onFirstReport();
        };
        document_.onChanged = [this] {
            if (onPageChanged) onPageChanged();
        };
        // The engine's messages go where the panel's go.
        process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(process_, &QProcess::readyReadStandardOutput, this, [this] { read(); });
        QObject::connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) ended(process_->errorString());
        });
        QObject::connect(process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
            ended(status == QProcess::CrashExit ? QString::fromUtf8("手写输入的进程意外结束")
                                                : QString::fromUtf8("手写输入的进程已结束（%1）").arg(code));
        });
        process_->start(program, {"--into", QString::number(winId())});
        sendSize();
    }

    // The process is told to end (its input closes) and left to do so; one
    // that does not is ended.
    ~ProcessBrowser() override {
        process_->disconnect(this);
        if (process_->state() == QProcess::NotRunning) {
            delete process_;
            return;
        }
        process_->closeWriteChannel();
        QObject::connect(process_, &QProcess::finished, process_, &QObject::deleteLater);
        QTimer::singleShot(kEndMs, process_, [p = process_] {
            qWarning("handwriting page: its process did not end when told to; it is ended");
            p->kill();
        });
    }

    QWidget* widget() override { return this; }
    void setUrl(const QUrl& url) override { send({"url", url.toString(QUrl::FullyEncoded).toStdString()}); }
    void reload() override { send({"reload"}); }
    PageDocument* document() override { return document_.reachable() ? &document_ : nullptr; }
    void setZoom(double factor) override {
        if (factor == zoom_) return;
        zoom_ = factor;
        send({"zoom", QString::number(factor).toStdString()});
    }

protected:
    void resizeEvent(QResizeEvent*) override { sendSize(); }
    void showEvent(QShowEvent*) override { send({"visible", "1"}); }
    void hideEvent(QHideEvent*) override { send({"visible", "0"}); }

private:
    void send(const pagewire::Message& message) {
        if (done_) return;
        const std::string line = pagewire::encode(message);
        process_->write(line.data(), static_cast<qint64>(line.size()));
    }
    void sendSize() { send({"size", std::to_string(width()), std::to_string(height())}); }

    // What the page's process tells: what the page's watcher reported, and
    // the page's loading and its wish for a new window.
    void read() {
        const QByteArray bytes = process_->readAllStandardOutput();
        reader_.feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        const size_t droppedBefore = reader_.dropped();
        while (auto message = reader_.next()) {
            const pagewire::Message& m = *message;
            if (m[0] == "report" && m.size() == 2) document_.report(QString::fromStdString(m[1]));
            else if (m[0] == "loadStarted") document_.loadStarted();
            else if (m[0] == "loadFinished" && m.size() == 2) document_.loadFinished(m[1] == "1");
            else if (m[0] == "newWindow" && onNewWindow) onNewWindow();
        }
        if (reader_.dropped() != droppedBefore)
            qWarning("handwriting page: %zu messages of the page's process dropped", reader_.dropped() - droppedBefore);
    }

    void ended(const QString& reason) {
        if (done_) return;
        done_ = true;
        if (onEnded) onEnded(reason);
    }

    QProcess* process_;
    BrowserDocument document_;
    pagewire::Reader reader_;
    double zoom_ = 1.0;
    bool done_ = false;
};

}  // namespace

PanelBrowser* loadBrowser(QWidget* parent, QString& problem) {
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    QString path = QString::fromStdString(dir + "/" + kProgram);
    if (!QFileInfo(path).isExecutable()) path = QString::fromStdString(posix::installedHelperFolder(dir) + "/" + kProgram);
    if (!QFileInfo(path).isExecutable()) {
        problem = QString::fromUtf8("找不到手写输入的程序 ") + path;
        return nullptr;
    }
    return new ProcessBrowser(parent, path);
}

}  // namespace lumiko::desktop
