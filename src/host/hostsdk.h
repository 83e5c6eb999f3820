// The IDE host's plugin interface as the plugin and our test host see it: the records a plugin
// hands over when it registers classes, and the signatures of the host services it looks up by
// name through the resolver given to REALPluginMain. Nothing else of the host is assumed.
//
// Host values: "integer" is a 32-bit signed integer, "color" a 32-bit 0xAARRGGBB value (alpha 0 is
// opaque), "boolean" a C++ bool, strings, arrays and objects are opaque references. A method
// procedure takes the instance first (shared methods take none), then its declared arguments.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

typedef struct REALobjectStruct* REALobject;
typedef struct REALstringStruct* REALstring;
typedef struct REALarrayStruct* REALarray;
typedef REALobject REALpicture;
typedef REALobject REALfolderItem;
typedef std::int32_t RBInteger;
typedef std::uint32_t RBColor;
typedef void (*REALproc)(void);

// Looks up a host service by name; null when the host has none of that name.
typedef void* (*REALResolver)(const char* entryName);

struct REALmethodDefinition {
    REALproc function;
    REALproc setterFunction;
    const char* declaration;
    std::uint32_t mFlags;
    std::uint32_t attributeCount;
    const void* attributes;
};

struct REALproperty {
    const char* group;
    const char* name;
    const char* type;
    std::uint32_t flags;
    REALproc getter;  // instance property: T (*)(REALobject, intptr_t param); shared: T (*)(intptr_t)
    REALproc setter;  // instance: void (*)(REALobject, intptr_t, T); shared: void (*)(intptr_t, T)
    std::intptr_t param;
    std::intptr_t reserved[3];
};

struct REALconstant {
    const char* declaration;
    const void* reserved[4];
};

struct REALclassDefinition {
    std::uint32_t version;
    const char* name;
    const char* superName;
    std::uint32_t dataSize;
    std::uintptr_t forSystemUse;  // the host stores here the offset of this class's data in an object
    void (*constructor)(REALobject);
    void (*destructor)(REALobject);
    REALproperty* properties;
    std::uint32_t propertyCount;
    REALmethodDefinition* methods;
    std::uint32_t methodCount;
    const void* events;
    std::uint32_t eventCount;
    const void* eventInstances;
    std::uint32_t eventInstanceCount;
    const char* interfaces;
    const void* bindings;
    std::uint32_t bindingCount;
    REALconstant* constants;
    std::uint32_t constantCount;
    std::uint32_t mFlags;
    REALproperty* sharedProperties;
    std::uint32_t sharedPropertyCount;
    REALmethodDefinition* sharedMethods;
    std::uint32_t sharedMethodCount;
    std::uintptr_t reserved[4];
};

// The layout of control version 9 (hosts before 2010): method records without attributes,
// property records without reserved words, and no trailing words in the class record.
struct REALmethodDefinition9 {
    REALproc function;
    REALproc setterFunction;
    const char* declaration;
    std::uint32_t mFlags;
};

struct REALproperty9 {
    const char* group;
    const char* name;
    const char* type;
    std::uint32_t flags;
    REALproc getter;
    REALproc setter;
    std::intptr_t param;
};

struct REALclassDefinition9 {
    std::uint32_t version;
    const char* name;
    const char* superName;
    std::uint32_t dataSize;
    std::uintptr_t forSystemUse;
    void (*constructor)(REALobject);
    void (*destructor)(REALobject);
    REALproperty9* properties;
    std::uint32_t propertyCount;
    REALmethodDefinition9* methods;
    std::uint32_t methodCount;
    const void* events;
    std::uint32_t eventCount;
    const void* eventInstances;
    std::uint32_t eventInstanceCount;
    const char* interfaces;
    const void* bindings;
    std::uint32_t bindingCount;
    REALconstant* constants;
    std::uint32_t constantCount;
    std::uint32_t mFlags;
    REALproperty9* sharedProperties;
    std::uint32_t sharedPropertyCount;
    REALmethodDefinition9* sharedMethods;
    std::uint32_t sharedMethodCount;
};

// Method and class flags.
enum : std::uint32_t {
    REALconsoleSafe = 0x4,
    REALprivateConstructor = 0x84,
    REALpictureMethod = 0x40000,
    REALpropertyReadOnly = 0x6,
};

// String encodings.
enum : std::uint32_t {
    kREALTextEncodingASCII = 0x600,
    kREALTextEncodingUTF8 = 0x08000100,
    kREALTextEncodingUnknown = 0xFFFF,
};

struct REALstringData {
    const void* data;
    std::size_t length;
    std::uint32_t encoding;
};

// Element types of arrays made by RuntimeArrayCreateSingleDimBoundedArray.
enum : int {
    kREALArrayInteger = 1,
    kREALArrayDouble = 2,
    kREALArrayString = 3,
    kREALArrayColor = 4,
    kREALArrayObject = 5,
};

// A locked picture's pixels: 32 bits per pixel, rows top-down, each pixel 0xAARRGGBB with alpha
// 255 opaque (alphaInfo kREALAlphaFirst) or ignored (kREALAlphaNone).
struct REALpictureDescription {
    void* data;
    std::int32_t bytesPerRow;
    std::int32_t bitsPerPixel;
    std::int32_t alphaInfo;
    std::int32_t width;
    std::int32_t height;
};

enum : std::int32_t { kREALAlphaNone = 0, kREALAlphaFirst = 1 };

// Storage types PluginPictureGetType reports: only bitmaps have pixels to lock.
enum : int { kREALPictureBitmap = 1, kREALPictureVector = 2 };

// What REALFSRefFromFolderItem fills: a "file://" URL of the item, percent-encoded.
struct REALfileReference {
    char url[4096];
};

// The host services, by the names the plugin resolves.
typedef double (*REALGetRBVersionProc)(void);
typedef void (*RegisterPluginVersionProc)(int version);
// Takes a REALclassDefinition9 when the plugin registered control version 9.
typedef void (*PluginRegisterClassProc)(REALclassDefinition* definition);
typedef REALobject (*PluginNewInstanceProc)(const char* className);
typedef void (*REALLockObjectProc)(REALobject object);
typedef void (*REALUnlockObjectProc)(REALobject object);
typedef void (*REALLockStringProc)(REALstring string);
typedef void (*REALUnlockStringProc)(REALstring string);
typedef std::uint32_t (*REALGetStringEncodingProc)(REALstring string);
typedef bool (*PluginGetStringDataProc)(REALstring string, std::uint32_t encoding, REALstringData* out);
typedef void (*PluginDisposeStringDataProc)(REALstringData* data);
typedef REALstring (*REALConvertStringProc)(REALstring string, std::uint32_t encoding);
typedef REALstring (*REALBuildStringWithEncodingProc)(const char* bytes, int length, std::uint32_t encoding);
typedef REALstring (*REALBuildStringProc)(const char* bytes, int length);
typedef void (*REALSetStringEncodingProc)(REALstring string, std::uint32_t encoding);
typedef long (*RuntimeUBoundProc)(REALarray array);
// Element access: the typed getters and setters, and the "direct" forms that hand out the
// getter, inserter or setter suited to one array.
typedef double (*PluginDoubleArrayGetProcType)(REALarray array, long index);
typedef RBInteger (*PluginIntegerArrayGetProcType)(REALarray array, long index);
typedef RBColor (*PluginColorArrayGetProcType)(REALarray array, long index);
typedef REALstring (*PluginStringArrayGetProcType)(REALarray array, long index);
typedef REALobject (*PluginObjectArrayGetProcType)(REALarray array, long index);
typedef void (*PluginDoubleArrayInsertProcType)(REALarray array, long index, double value);
typedef void (*PluginObjectArrayInsertProcType)(REALarray array, long index, REALobject value);
typedef void (*PluginIntegerArraySetProcType)(REALarray array, long index, RBInteger value);
typedef REALproc (*RuntimeArrayDirectGetProcType)(REALarray array);
typedef REALarray (*RuntimeArrayCreateSingleDimBoundedArrayProc)(int elementType, long upperBound);
typedef bool (*REALGetPropValueIntProc)(REALobject object, const char* name, std::int32_t* value);
typedef bool (*REALGetPropValueIntegerProc)(REALobject object, const char* name, std::int64_t* value);
typedef bool (*REALGetPropValueBoolProc)(REALobject object, const char* name, bool* value);
typedef bool (*REALSetPropValueIntProc)(REALobject object, const char* name, std::int32_t value);
typedef bool (*REALSetPropValueIntegerProc)(REALobject object, const char* name, std::int64_t value);
typedef bool (*REALSetPropValueStringProc)(REALobject object, const char* name, REALstring value);
typedef void (*RuntimeRaiseExceptionProc)(REALobject exception);
typedef bool (*REALLockPictureDescriptionProc)(REALpicture picture, REALpictureDescription* out);
typedef void (*REALUnlockPictureDescriptionProc)(REALpicture picture);
typedef REALpicture (*REALGetPictureMaskProc)(REALpicture picture, bool create);
typedef void (*REALPictureClearCacheProc)(REALpicture picture);
typedef REALpicture (*REALBuildPictureFromBufferProc)(RBInteger width, RBInteger height,
                                                      const std::uint32_t* pixels, RBInteger bytesPerRow);
typedef int (*PluginPictureGetTypeProc)(REALpicture picture);
typedef REALproc (*REALLoadObjectMethodProc)(REALobject object, const char* declaration);
typedef bool (*REALFSRefFromFolderItemProc)(REALfolderItem item, REALfileReference* out);

// The one entry a plugin exports.
typedef void (*REALPluginMainProc)(REALResolver resolver);

}  // extern "C"
