#pragma once

#include <variant>

#include "defaults/DefaultsStore.h"
#include "log/Log.h"

namespace quillet {

// Keeps keyed records in the defaults store, each under its type's name as binary data.
class Cacher {
public:
    explicit Cacher(DefaultsStore& store) : userDefault(store) {}

    // Over the user's standard store.
    static Cacher& shared();

    DefaultsStore& userDefault;

    // Fails when the record did not reach the file; it is kept for this process either way.
    template <typename Model> Status save(const Model& model) {
        QLOG_AS("save(model:)", "save " + std::string(Model::archiveKey));
        return userDefault.setValue(Model::archiveKey, BinaryData{model.encode()});
    }

    // The stored record; the defaults when nothing (or no binary data) is stored there or it
    // cannot be decoded.
    template <typename Model> Model read() {
        const auto stored = userDefault.object(Model::archiveKey);
        const auto* data = stored ? std::get_if<BinaryData>(&*stored) : nullptr;
        if (data == nullptr) {
            return Model();
        }
        auto model = Model::decode(data->bytes);
        if (!model) {
            QLOG_AS("read(type:)", "Could not decode " + std::string(Model::archiveKey));
            return Model();
        }
        QLOG_AS("read(type:)", "Read " + std::string(Model::archiveKey));
        return std::move(*model);
    }
};

} // namespace quillet
