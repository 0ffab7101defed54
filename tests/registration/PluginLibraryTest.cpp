// The product library as a host sees it: loaded with dlopen, driven through its seven exports
// by the stand-in host.

#include "PluginLibrary.h"
#include "AAX_Callbacks.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_Properties.h"
#include "ElfSymbols.h"
#include "HostSession.h"
#include "HostState.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>
#include <string>

namespace
{
const std::string libraryPath = LARKSPUR_PLUGIN_PATH;

constexpr uint32_t fourCharacters (const char (&code)[5])
{
    return (uint32_t (uint8_t (code[0])) << 24) | (uint32_t (uint8_t (code[1])) << 16) |
           (uint32_t (uint8_t (code[2])) << 8) | uint32_t (uint8_t (code[3]));
}

class PluginLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        library = PluginLibrary::open (libraryPath, error);
        ASSERT_NE (library, nullptr) << error;
    }

    void TearDown() override
    {
        // Leave the library stopped for the next test, whatever this one did.
        if (library != nullptr)
        {
            EXPECT_EQ (library->entryPoints().canUnloadNow(), 0);
            library->entryPoints().shutdown();
        }
    }

    const PluginLibrary::EntryPoints& plugin() const { return library->entryPoints(); }

    std::unique_ptr<PluginLibrary> library;
};

// Takes a reference to an object a creation procedure made; the object lives until it is
// released.
IACFUnknown* createAndHold (void* creationProcedure)
{
    auto create = reinterpret_cast<AAX_CCreateObjectProc> (creationProcedure);
    IACFUnknown* const created = create();
    void* held = nullptr;
    EXPECT_EQ (created->QueryInterface (IID_IACFUnknown, &held), ACF_OK);
    return static_cast<IACFUnknown*> (held);
}
} // namespace

TEST (ProductLibrary, ExportsExactlyTheSevenEntryPoints)
{
    EXPECT_EQ (definedDynamicSymbols (libraryPath),
               (std::set<std::string>{ "ACFCanUnloadNow", "ACFGetClassFactory", "ACFGetSDKVersion",
                                       "ACFRegisterComponent", "ACFRegisterPlugin", "ACFShutdown", "ACFStartup" }));
}

TEST_F (PluginLibraryTest, DescribesTheEffectWithAComponentPerChannelLayout)
{
    HostSession session (plugin());
    ASSERT_EQ (session.startUp(), ACF_OK);
    ASSERT_EQ (session.registerPlugin(), ACF_OK);
    const HostCollection* const description = session.description();
    ASSERT_NE (description, nullptr);

    EXPECT_EQ (description->manufacturerName, "Korvel Audio Tools");
    EXPECT_EQ (description->packageNames, (std::vector<std::string>{ "Larkspur" }));
    // The project's version, as major << 16 | minor << 8 | patch.
    EXPECT_EQ (description->packageVersion,
               (LARKSPUR_VERSION_MAJOR * 0x10000u) + (LARKSPUR_VERSION_MINOR * 0x100u) + LARKSPUR_VERSION_PATCH);
    ASSERT_EQ (description->effects.size(), 1u);
    EXPECT_EQ (description->effects[0].first, "com.KorvelAudioTools.Larkspur");

    const HostEffectDescriptor& effect = *description->effects[0].second.get();
    EXPECT_EQ (effect.names, (std::vector<std::string>{ "Larkspur" }));
    EXPECT_EQ (effect.categories, (std::vector<uint32_t>{ AAX_ePlugInCategory_EQ }));
    ASSERT_EQ (effect.procPointers.size(), 2u);
    EXPECT_NE (effect.procPointers.at (kAAX_ProcPtrID_Create_EffectParameters), nullptr);
    EXPECT_NE (effect.procPointers.at (kAAX_ProcPtrID_Create_EffectGUI), nullptr);

    struct Expected
    {
        uint32_t stemFormat;
        uint32_t plugInId;
    };
    const Expected layouts[] = { { AAX_eStemFormat_Mono, fourCharacters ("LKm1") },
                                 { AAX_eStemFormat_Stereo, fourCharacters ("LKs2") } };
    ASSERT_EQ (effect.components.size(), 2u);
    const void* processProc = nullptr;
    for (size_t i = 0; i < 2; ++i)
    {
        const ComponentRecord& component = effect.components[i]->record();
        ASSERT_EQ (component.fields.size(), 5u);
        const std::pair<std::string, AAX_CFieldIndex> fields[] = {
            { "audio in", 0 }, { "audio out", 1 }, { "buffer length", 2 }, { "data-in port", 3 }, { "private data", 4 }
        };
        for (size_t f = 0; f < 5; ++f)
        {
            EXPECT_EQ (component.fields[f].kind, fields[f].first);
            EXPECT_EQ (component.fields[f].index, fields[f].second);
        }
        EXPECT_EQ (component.fields[3].size, 4);
        EXPECT_EQ (component.fields[4].size, static_cast<int64_t> (sizeof (void*)));

        ASSERT_EQ (component.processProcs.size(), 1u);
        const ProcessProcRecord& procedure = component.processProcs[0];
        EXPECT_TRUE (procedure.native);
        EXPECT_NE (procedure.processProc, nullptr);
        if (i == 0)
            processProc = procedure.processProc;
        EXPECT_EQ (procedure.processProc, processProc) << "both layouts share the process procedure";
        const auto& values = procedure.properties.values;
        EXPECT_EQ (values.at (AAX_eProperty_ManufacturerID), fourCharacters ("KRVL"));
        EXPECT_EQ (values.at (AAX_eProperty_ProductID), fourCharacters ("LKSP"));
        EXPECT_EQ (values.at (AAX_eProperty_PlugInID_Native), layouts[i].plugInId);
        EXPECT_EQ (values.at (AAX_eProperty_InputStemFormat), layouts[i].stemFormat);
        EXPECT_EQ (values.at (AAX_eProperty_OutputStemFormat), layouts[i].stemFormat);
        EXPECT_EQ (procedure.properties.pointers.at (AAX_eProperty_NativeProcessProc), processProc);
    }
    EXPECT_TRUE (session.state().log.traces().empty());
    EXPECT_TRUE (session.state().log.assertions().empty());

    // The registration kept no host object but the description handed back.
    session.releaseDescription();
    EXPECT_EQ (session.waitUntilUnloadable (1), 0);
}

TEST_F (PluginLibraryTest, FixedAnswersOfTheOtherEntryPoints)
{
    uint64_t version = 0;
    EXPECT_EQ (plugin().getSDKVersion (&version), ACF_OK);
    EXPECT_EQ (version, 0x0000020300D5E5B4ull);
    EXPECT_EQ (plugin().getSDKVersion (nullptr), AAX_ERROR_NULL_ARGUMENT);

    int something = 0;
    void* factory = &something;
    EXPECT_EQ (plugin().getClassFactory (nullptr, &IID_IACFUnknown, &IID_IACFUnknown, &factory), -20009);
    EXPECT_EQ (factory, nullptr);

    IACFUnknown* component = reinterpret_cast<IACFUnknown*> (&something);
    EXPECT_EQ (plugin().registerComponent (nullptr, &IID_IACFUnknown, &component), ACF_OK);
    EXPECT_EQ (component, nullptr);
}

TEST_F (PluginLibraryTest, ShutdownWithoutStartupChangesNothing)
{
    EXPECT_EQ (plugin().shutdown(), ACF_OK);
    EXPECT_EQ (plugin().shutdown(), ACF_OK);

    // Still startable afterwards, and registration traces nothing on success.
    HostSession session (plugin());
    EXPECT_EQ (session.startUp(), ACF_OK);
    EXPECT_EQ (session.state().creationCount ("host services"), 3);
}

TEST_F (PluginLibraryTest, ASecondStartupKeepsTheFirstHostServices)
{
    HostSession first (plugin());
    HostSession second (plugin());
    ASSERT_EQ (first.startUp(), ACF_OK);
    ASSERT_EQ (second.startUp(), ACF_OK);
    EXPECT_EQ (first.state().creationCount ("host services"), 3);
    EXPECT_EQ (second.state().creationCount ("host services"), 0);

    // After a shutdown the next startup makes new services.
    EXPECT_EQ (plugin().shutdown(), ACF_OK);
    ASSERT_EQ (second.startUp(), ACF_OK);
    EXPECT_EQ (second.state().creationCount ("host services"), 3);
}

TEST_F (PluginLibraryTest, CanUnloadNowCountsTheLiveObjects)
{
    HostSession session (plugin());
    ASSERT_EQ (session.startUp(), ACF_OK);
    ASSERT_EQ (session.registerPlugin(), ACF_OK);
    const auto& procedures = session.description()->effects.at (0).second->procPointers;
    EXPECT_EQ (plugin().canUnloadNow(), 0);

    IACFUnknown* const parameters = createAndHold (procedures.at (kAAX_ProcPtrID_Create_EffectParameters));
    IACFUnknown* const gui = createAndHold (procedures.at (kAAX_ProcPtrID_Create_EffectGUI));
    EXPECT_EQ (plugin().canUnloadNow(), 2);

    // Each object answers its own interface and refuses the other's.
    void* answered = nullptr;
    ASSERT_EQ (parameters->QueryInterface (AAX_IID_EffectParameters, &answered), ACF_OK);
    ASSERT_NE (answered, nullptr);
    EXPECT_EQ (static_cast<IACFUnknown*> (answered)->Release(), 1u);
    ASSERT_EQ (gui->QueryInterface (AAX_IID_EffectGUI, &answered), ACF_OK);
    ASSERT_NE (answered, nullptr);
    EXPECT_EQ (static_cast<IACFUnknown*> (answered)->Release(), 1u);
    void* refused = gui;
    EXPECT_EQ (gui->QueryInterface (AAX_IID_EffectParameters, &refused), ACF_E_NOINTERFACE);
    EXPECT_EQ (refused, nullptr);

    EXPECT_EQ (gui->Release(), 0u);
    EXPECT_EQ (plugin().canUnloadNow(), 1);
    EXPECT_EQ (parameters->Release(), 0u);
    EXPECT_EQ (session.waitUntilUnloadable (1), 0);
}

// A host that gives up on a library with live objects neither shuts it down nor unloads it, so
// the objects stay usable. The library stays in this process from here on.
TEST_F (PluginLibraryTest, AnAbandonedLibraryWithLiveObjectsStaysStartedAndLoaded)
{
    std::string error;
    auto second = PluginLibrary::open (libraryPath, error);
    ASSERT_NE (second, nullptr) << error;
    IACFUnknown* held = nullptr;
    {
        HostSession session (second->entryPoints());
        ASSERT_EQ (session.startUp(), ACF_OK);
        ASSERT_EQ (session.registerPlugin(), ACF_OK);
        held = createAndHold (
            session.description()->effects.at (0).second->procPointers.at (kAAX_ProcPtrID_Create_EffectParameters));
        session.releaseDescription();
        ASSERT_EQ (session.waitUntilUnloadable (1), 1);
        session.abandon();
    }
    second->keepLoaded();
    second.reset();
    library.reset();

    void* const stillLoaded = dlopen (libraryPath.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE (stillLoaded, nullptr) << "the library was unloaded with a live object";
    dlclose (stillLoaded);

    // Not shut down either: a new start-up keeps the first host's services.
    library = PluginLibrary::open (libraryPath, error);
    ASSERT_NE (library, nullptr) << error;
    HostSession next (plugin());
    ASSERT_EQ (next.startUp(), ACF_OK);
    EXPECT_EQ (next.state().creationCount ("host services"), 0);
    EXPECT_EQ (plugin().canUnloadNow(), 1);
    EXPECT_EQ (held->Release(), 0u);
}
