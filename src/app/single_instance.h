#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QLocalServer;
class QLockFile;

namespace anitrope {

// One editor per user takes the files the desktop hands to it: the first instance holds a
// lock and listens on a local socket; a later one asks it for a hand-over number (message
// 1026), leaves the file name in the settings store under "Temp<number>" and tells it to
// open it (command 1063).
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `name` tells users apart; tests pass their own.
    explicit SingleInstance(const QString& name);
    ~SingleInstance() override;

    // True when another instance holds the lock.
    bool AnotherRuns();

    // First instance: answers 1026 with the next number and calls onHandOver for 1063.
    bool Listen();
    std::function<void()> onHandOver;

    // Later instance: the running instance's next number, trying every 100 ms until
    // `waitMs` passed (the first instance may still be starting). Nothing when none answers.
    std::optional<uint32_t> AskNumber(int waitMs);
    // Sends 1063; true when the running instance took it.
    bool PostHandOver();

    static QString DefaultName();

private:
    QString name_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
    uint32_t handedOut_ = 0;  // the counter of message 1026
};

}  // namespace anitrope
