#include "platform/qt/padscheme.h"

#include <QBuffer>
#include <QMetaObject>
#include <QPointer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QtGlobal>

#include <memory>
#include <optional>

#include "hwr/padservice.h"

namespace lumiko::desktop {

namespace {

// The model path: LUMIKO_HWR_MODEL in the environment, else the installed
// package's file.
std::string modelPath() {
    const QByteArray env = qgetenv("LUMIKO_HWR_MODEL");
    return env.isEmpty() ? std::string(LUMIKO_HWR_MODEL) : env.toStdString();
}

// Answers the pad's requests. A recognition runs on the pad service's own
// thread; its answer comes back to this handler's thread (the view's), where
// the job is answered if the engine has not dropped it meanwhile (a job is
// the engine's, deleted when its page no longer wants it).
class PadSchemeHandler : public QWebEngineUrlSchemeHandler {
public:
    explicit PadSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent), service_(std::in_place, modelPath()) {}
    // The service ends its thread before this object is gone: an answer it
    // sends on the way out is dropped with this object's queued calls.
    ~PadSchemeHandler() override { service_.reset(); }

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QUrl url = job->requestUrl();
        if (job->requestMethod() != "GET") {
            qWarning("handwriting pad: refused a %s request", job->requestMethod().constData());
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        QString path = url.path();
        if (path.startsWith('/')) path.remove(0, 1);
        // The guard is made and read on this thread only; the service's
        // thread just carries it.
        auto guard = std::make_shared<QPointer<QWebEngineUrlRequestJob>>(job);
        service_->request(path.toStdString(), url.query(QUrl::FullyEncoded).toStdString(),
                          [this, guard](hwr::PadReply reply) {
                              QMetaObject::invokeMethod(
                                  this, [guard, reply = std::move(reply)] { answer(guard->data(), reply); },
                                  Qt::QueuedConnection);
                          });
    }

private:
    static void answer(QWebEngineUrlRequestJob* job, const hwr::PadReply& reply) {
        if (!reply.refusal.empty()) qWarning("handwriting pad: request refused: %s", reply.refusal.c_str());
        if (!job) return;  // the page went away before the answer
        if (!reply.found) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(QByteArray::fromStdString(reply.body));
        job->reply(QByteArray::fromStdString(reply.mimeType), body);
    }

    std::optional<hwr::PadService> service_;
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
