// The plugin's one export. The host hands over its resolver; the plugin tells the host which
// record layout it uses and registers its classes in a fixed order.
#include "host/hostglue_p.h"

#include <cstring>

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

void registerClass(REALclassDefinition* def, int controlVersion, PluginRegisterClassProc registerIt) {
    def->dataSize = (def->dataSize + 15) / 16 * 16;
    def->version = static_cast<std::uint32_t>(controlVersion);
    registerIt(def);
}

}  // namespace

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
