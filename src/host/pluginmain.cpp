// The plugin's one export. The host hands over its resolver; the plugin tells the host which
// record layout it uses and registers its classes in a fixed order.
#include "host/hostglue_p.h"

#include <map>
#include <memory>
#include <vector>

namespace host {

extern REALclassDefinition* const kRegistrationOrder[];
extern const std::size_t kClassCount;
extern REALclassDefinition kDef_PVAngularMeterRQX;

namespace {

int controlVersionFor(double hostVersion) {
    if (hostVersion >= 2013.04) return 13;
    if (hostVersion >= 2013.03) return 12;
    if (hostVersion >= 2013.0) return 11;
    if (hostVersion >= 2012.0) return 10;
    return 9;
}

// A record in the layout of control version 9, kept for as long as the plugin is loaded: the host
// writes the data offset into it.
struct OldRecord {
    REALclassDefinition9 def{};
    std::vector<REALmethodDefinition9> methods, sharedMethods;
    std::vector<REALproperty9> properties, sharedProperties;
};

std::vector<REALmethodDefinition9> oldMethods(const REALmethodDefinition* m, std::uint32_t count) {
    std::vector<REALmethodDefinition9> out;
    for (std::uint32_t i = 0; i < count; ++i)
        out.push_back({m[i].function, m[i].setterFunction, m[i].declaration, m[i].mFlags});
    return out;
}

std::vector<REALproperty9> oldProperties(const REALproperty* p, std::uint32_t count) {
    std::vector<REALproperty9> out;
    for (std::uint32_t i = 0; i < count; ++i)
        out.push_back({p[i].group, p[i].name, p[i].type, p[i].flags, p[i].getter, p[i].setter, p[i].param});
    return out;
}

std::map<const REALclassDefinition*, std::unique_ptr<OldRecord>>& oldRecords() {
    static std::map<const REALclassDefinition*, std::unique_ptr<OldRecord>> records;
    return records;
}

void registerClass(REALclassDefinition* def, int controlVersion, PluginRegisterClassProc registerIt) {
    def->dataSize = (def->dataSize + 15) / 16 * 16;
    def->version = static_cast<std::uint32_t>(controlVersion);
    def->forSystemUse = 0;
    if (controlVersion > 9) {
        registerIt(def);
        return;
    }
    auto old = std::make_unique<OldRecord>();
    old->methods = oldMethods(def->methods, def->methodCount);
    old->sharedMethods = oldMethods(def->sharedMethods, def->sharedMethodCount);
    old->properties = oldProperties(def->properties, def->propertyCount);
    old->sharedProperties = oldProperties(def->sharedProperties, def->sharedPropertyCount);
    old->def = REALclassDefinition9{def->version, def->name, def->superName, def->dataSize, 0, def->constructor,
                                    def->destructor, old->properties.data(), def->propertyCount,
                                    old->methods.data(), def->methodCount, def->events, def->eventCount,
                                    def->eventInstances, def->eventInstanceCount, def->interfaces, def->bindings,
                                    def->bindingCount, def->constants, def->constantCount, def->mFlags,
                                    old->sharedProperties.data(), def->sharedPropertyCount,
                                    old->sharedMethods.data(), def->sharedMethodCount};
    REALclassDefinition9* record = &old->def;
    oldRecords()[def] = std::move(old);
    registerIt(reinterpret_cast<REALclassDefinition*>(record));
}

}  // namespace

std::uintptr_t dataOffset(const REALclassDefinition& root) {
    if (root.forSystemUse) return root.forSystemUse;
    auto it = oldRecords().find(&root);
    return it == oldRecords().end() ? 0 : it->second->def.forSystemUse;
}

}  // namespace host

extern "C" __attribute__((visibility("default"))) void REALPluginMain(REALResolver resolver) {
    using namespace host;
    static std::uint32_t angularMeterMethods = kDef_PVAngularMeterRQX.methodCount;
    setResolver(resolver);
    const double version = hostVersion();
    const int control = controlVersionFor(version);
    if (auto f = reinterpret_cast<RegisterPluginVersionProc>(lookup("RegisterPluginVersion"))) f(control);
    // Hosts before 2012 know nothing of the angular meter's last two methods.
    kDef_PVAngularMeterRQX.methodCount = version < 2012.0 ? angularMeterMethods - 2 : angularMeterMethods;
    auto registerIt = reinterpret_cast<PluginRegisterClassProc>(lookup("PluginRegisterClass"));
    if (!registerIt) return;
    for (std::size_t i = 0; i < kClassCount; ++i) registerClass(kRegistrationOrder[i], control, registerIt);
}
