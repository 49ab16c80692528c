#include "scene/CObjectFactory.h"

#include <map>
#include <mutex>

#include "scene/CObjects.h"

namespace {

struct SRegisteredTypes {
    std::mutex mutex;
    std::map<CString, CObjectFactory::Creator> creators;
};

SRegisteredTypes& RegisteredTypes() {
    static SRegisteredTypes registered;
    return registered;
}

}  // namespace

CObjects* CObjectFactory::Get(const CString& type) {
    const auto& storable = StorableTypes();
    if (const auto found = storable.find(type); found != storable.end()) {
        return found->second();
    }
    SRegisteredTypes& registered = RegisteredTypes();
    Creator creator;
    {
        std::lock_guard<std::mutex> guard(registered.mutex);
        const auto found = registered.creators.find(type);
        if (found == registered.creators.end()) {
            return nullptr;
        }
        creator = found->second;
    }
    return creator();
}

bool CObjectFactory::Register(const CString& type, Creator creator) {
    if (!creator || StorableTypes().count(type) != 0) {
        return false;
    }
    SRegisteredTypes& registered = RegisteredTypes();
    std::lock_guard<std::mutex> guard(registered.mutex);
    return registered.creators.emplace(type, std::move(creator)).second;
}

void CObjectFactory::Unregister(const CString& type) {
    SRegisteredTypes& registered = RegisteredTypes();
    std::lock_guard<std::mutex> guard(registered.mutex);
    registered.creators.erase(type);
}
