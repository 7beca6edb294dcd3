#include "settings/Cacher.h"

namespace quillet {

Cacher& Cacher::shared() {
    static Cacher cacher(DefaultsStore::standard());
    return cacher;
}

} // namespace quillet
