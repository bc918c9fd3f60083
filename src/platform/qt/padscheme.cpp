#include "platform/qt/padscheme.h"

#include <QBuffer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QtGlobal>

#include "hwr/padservice.h"

namespace lumiko::desktop {

namespace {

// The model path: LUMIKO_HWR_MODEL in the environment, else the installed
// package's file.
std::string modelPath() {
    const QByteArray env = qgetenv("LUMIKO_HWR_MODEL");
    return env.isEmpty() ? std::string(LUMIKO_HWR_MODEL) : env.toStdString();
}

class PadSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    explicit PadSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent), recogniser_(modelPath()) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QUrl url = job->requestUrl();
        if (job->requestMethod() != "GET") {
            qWarning("handwriting pad: refused a %s request", job->requestMethod().constData());
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        QString path = url.path();
        if (path.startsWith('/')) path.remove(0, 1);
        const hwr::PadReply reply = hwr::handlePadRequest(
            path.toStdString(), url.query(QUrl::FullyEncoded).toStdString(), recogniser_);
        if (!reply.refusal.empty()) qWarning("handwriting pad: request refused: %s", reply.refusal.c_str());
        if (!reply.found) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(QByteArray::fromStdString(reply.body));
        job->reply(QByteArray::fromStdString(reply.mimeType), body);
    }

private:
    hwr::Recogniser recogniser_;
};

}  // namespace

void registerPadScheme() {
    QWebEngineUrlScheme scheme(hwr::kPadScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    // Only local pages (the handwriting page is a file) may load from it.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::SecureScheme);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void installPadService(QWebEngineProfile* profile) {
    if (profile->urlSchemeHandler(hwr::kPadScheme)) return;
    profile->installUrlSchemeHandler(hwr::kPadScheme, new PadSchemeHandler(profile));
}

}  // namespace lumiko::desktop
