#pragma once

#include "AAX_Callbacks.h"
#include "AAX_IACFEffectParameters.h"
#include "HostInstanceServices.h"
#include "HostProject.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class HostCollection;
class HostSession;

/** One insert of the plug-in as the stand-in host drives it: the effect created through the
    registered procedure and initialised with this insert's host objects, the algorithm context
    built from the component's declared fields, packets delivered into the context at block
    boundaries, the process procedure called from the host's real-time thread, the host's
    main-thread idle work, the state chunks, and tear-down. */
class HostInstance
{
public:
    struct Options
    {
        float sampleRate = 48000.0f;
        int channels = 2;
        std::chrono::milliseconds confirmationDelay{ 0 };
    };

    /** Creates and initialises the insert from the session's description; null with a message
        when the description lacks what is needed or the effect refuses. */
    static std::unique_ptr<HostInstance> create (HostCollection& description, const Options& options,
                                                 std::string& error);
    ~HostInstance();

    HostInstance (const HostInstance&) = delete;
    HostInstance& operator= (const HostInstance&) = delete;

    AAX_IACFEffectParameters_V4& effect() const noexcept { return *effectParameters; }
    HostInstanceServices& services() const noexcept { return *hostServices.get(); }
    int channels() const noexcept { return numChannels; }
    float sampleRate() const noexcept { return rate; }

    /** The host's periodic main-thread call: JUCE's messages, due confirmations, packets. */
    void idle();

    /** One block on the real-time thread: `channels()` input and output pointers. */
    void process (const float* const* inputs, float* const* outputs, int numSamples);

    /** Parameter identifiers in the effect's order. */
    std::vector<std::string> parameterIds() const;
    /** Host automation: the host sets a value (as from its automation lane). */
    AAX_Result automate (const std::string& identifier, double normalizedValue);
    double normalizedValue (const std::string& identifier) const;

    /** What the plug-in says of its preset list when a preset is chosen. */
    struct PresetList
    {
        std::vector<std::string> names;
        std::string file;
        /** Why the presets file could not be read; empty when it was. */
        std::string problem;
        /** How many presets the file holds; names lists only those the plug-in offers. */
        size_t numInFile = 0;
    };

    /** Chooses a preset by name; on failure `available` lists the presets' names. */
    AAX_Result selectPreset (const std::string& name, std::vector<std::string>* available = nullptr);
    AAX_Result selectPreset (const std::string& name, PresetList& list);
    /** The main-thread re-preparation a connection change causes. */
    AAX_Result prepareAgain();

    /** Every chunk the effect offers, as a host saves them into its project. */
    AAX_Result saveChunks (HostProject& project);
    /** Hands every chunk of a project to the effect; the first failure is answered. */
    AAX_Result loadChunks (const HostProject& project);
    AAX_Result compareChunk (const ProjectChunk& chunk, bool& equal);

    /** Tears the effect down and releases it; done by the destructor when not called. */
    void tearDown();

private:
    HostInstance() = default;

    bool buildContext (const struct ComponentRecord& component, std::string& error);
    void receivePacket (AAX_CFieldIndex field, const void* data, uint32_t size);
    void deliverPackets() noexcept;

    float rate = 48000.0f;
    int numChannels = 2;
    AAX_CProcessProc processProc = nullptr;
    HostReference<HostInstanceServices> hostServices;
    AAX_IACFEffectParameters_V4* effectParameters = nullptr;

    /** The algorithm context: one pointer-sized word per field. */
    std::vector<void*> context;
    std::vector<const float*> inputPointers;
    std::vector<float*> outputPointers;
    int32_t bufferLength = 0;
    std::map<AAX_CFieldIndex, std::vector<unsigned char>> privateData;

    /** Data-in ports: what the real-time thread reads, and what was posted since. */
    std::map<AAX_CFieldIndex, std::vector<unsigned char>> ports;
    std::map<AAX_CFieldIndex, std::vector<unsigned char>> postedPorts;
    std::mutex portLock;
    std::atomic<bool> portsPosted{ false };
};
