#include "app/single_instance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>

#include <unistd.h>

namespace anitrope {
namespace {

constexpr int kReplyMs = 2000;

std::optional<QByteArray> Exchange(const QString& name, const QByteArray& request, bool wantReply) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(kReplyMs)) return std::nullopt;
    socket.write(request + "\n");
    if (!socket.waitForBytesWritten(kReplyMs)) return std::nullopt;
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(kReplyMs)) return wantReply ? std::nullopt : std::optional(reply);
        reply += socket.readAll();
    }
    return reply.trimmed();
}

}  // namespace

SingleInstance::SingleInstance(const QString& name)
    : name_(name), lock_(std::make_unique<QLockFile>(QDir::temp().filePath(name + ".lock"))) {
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::DefaultName() { return QString("anitrope-%1").arg(getuid()); }

bool SingleInstance::AnotherRuns() { return !lock_->isLocked() && !lock_->tryLock(0); }

bool SingleInstance::Listen() {
    QLocalServer::removeServer(name_);  // a socket left by an instance that crashed
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine()) {
                    const QByteArray request = socket->readLine().trimmed();
                    if (request == "1026") {
                        socket->write(QByteArray::number(handedOut_++) + "\n");
                    } else if (request == "1063") {
                        socket->write("ok\n");
                        if (onHandOver) onHandOver();
                    }
                    socket->flush();
                }
            });
        }
    });
    return server_->listen(name_);
}

std::optional<uint32_t> SingleInstance::AskNumber(int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        if (auto reply = Exchange(name_, "1026", true)) {
            bool ok = false;
            const uint32_t number = reply->toUInt(&ok);
            if (ok) return number;
        }
        if (deadline.hasExpired()) return std::nullopt;
        QThread::msleep(100);
    }
}

bool SingleInstance::PostHandOver() {
    auto reply = Exchange(name_, "1063", true);
    return reply && *reply == "ok";
}

}  // namespace anitrope
