#include "app/qt_settings_store.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

namespace anitrope {
namespace {

QString Key(const std::string& name) { return QString::fromStdString(name); }

}  // namespace

QtSettingsStore::QtSettingsStore(const std::string& path)
    : settings_(path.empty()
                    ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                  "Software", "Anitrope")
                    : std::make_unique<QSettings>(QString::fromStdString(path),
                                                  QSettings::IniFormat)) {
    existed_ = !settings_->allKeys().isEmpty();
}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<uint32_t> QtSettingsStore::ReadNumber(const std::string& name) const {
    const QVariant value = settings_->value(Key(name));
    bool ok = false;
    const qulonglong number = value.toULongLong(&ok);
    if (!ok || number > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(number);
}

std::optional<std::string> QtSettingsStore::ReadText(const std::string& name) const {
    const QVariant value = settings_->value(Key(name));
    if (!value.isValid() || value.typeId() == QMetaType::QByteArray) return std::nullopt;
    return value.toString().toStdString();
}

std::optional<KeyValueStore::Bytes> QtSettingsStore::ReadBytes(const std::string& name) const {
    const QVariant value = settings_->value(Key(name));
    if (value.typeId() != QMetaType::QByteArray) return std::nullopt;
    const QByteArray bytes = value.toByteArray();
    return Bytes(bytes.begin(), bytes.end());
}

void QtSettingsStore::WriteNumber(const std::string& name, uint32_t value) {
    settings_->setValue(Key(name), QVariant::fromValue(static_cast<qulonglong>(value)));
}

void QtSettingsStore::WriteText(const std::string& name, const std::string& value) {
    settings_->setValue(Key(name), QString::fromStdString(value));
}

void QtSettingsStore::WriteBytes(const std::string& name, const Bytes& value) {
    settings_->setValue(Key(name), QByteArray(reinterpret_cast<const char*>(value.data()),
                                              static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::Remove(const std::string& name) { settings_->remove(Key(name)); }

bool QtSettingsStore::Flush() {
    settings_->sync();
    return settings_->status() == QSettings::NoError && settings_->isWritable();
}

}  // namespace anitrope
