#pragma once

#include <memory>
#include <string>

#include "platform/key_value_store.h"

class QSettings;

namespace anitrope {

// The settings key as a QSettings file under the user's configuration directory
// (organisation and application "Software/Anitrope" there, native format). Numbers are kept
// as unsigned integers, texts as strings, byte blocks as byte arrays.
class QtSettingsStore final : public KeyValueStore {
public:
    // The user's store; `path` names another file instead (tests, portable runs).
    explicit QtSettingsStore(const std::string& path = {});
    ~QtSettingsStore() override;

    bool Existed() const override { return existed_; }
    std::optional<uint32_t> ReadNumber(const std::string& name) const override;
    std::optional<std::string> ReadText(const std::string& name) const override;
    std::optional<Bytes> ReadBytes(const std::string& name) const override;
    void WriteNumber(const std::string& name, uint32_t value) override;
    void WriteText(const std::string& name, const std::string& value) override;
    void WriteBytes(const std::string& name, const Bytes& value) override;
    void Remove(const std::string& name) override;
    bool Flush() override;

private:
    std::unique_ptr<QSettings> settings_;
    bool existed_ = false;
};

}  // namespace anitrope
