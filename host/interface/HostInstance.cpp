#include "HostInstance.h"

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_Properties.h"
#include "HostCollection.h"
#include "HostString.h"
#include "LarkspurHostNotifications.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace
{
// Room for the names of every preset the plug-in can list: 101 new names of up to 100 characters
// of up to four bytes each.
constexpr uint32_t presetNamesCapacity = 64 * 1024;
// Room for a path and a message about it.
constexpr uint32_t textCapacity = 8 * 1024;

const ProcessProcRecord* findNativeProcedure (const HostEffectDescriptor& effect, uint32_t stemFormat,
                                              const ComponentRecord** component)
{
    for (const auto& descriptor : effect.components)
    {
        const ComponentRecord& record = descriptor->record();
        for (const ProcessProcRecord& procedure : record.processProcs)
        {
            const auto input = procedure.properties.values.find (AAX_eProperty_InputStemFormat);
            const auto output = procedure.properties.values.find (AAX_eProperty_OutputStemFormat);
            if (procedure.native && procedure.processProc != nullptr && input != procedure.properties.values.end() &&
                output != procedure.properties.values.end() && input->second == stemFormat &&
                output->second == stemFormat)
            {
                *component = &record;
                return &procedure;
            }
        }
    }
    return nullptr;
}

// A host-allocated chunk record with room for `size` data bytes, zero-filled.
std::vector<unsigned char> makeRecordStorage (size_t size)
{
    return std::vector<unsigned char> (std::max (sizeof (ChunkRecord), ChunkRecordBytes (size)), 0);
}

ChunkRecord* recordIn (std::vector<unsigned char>& storage)
{
    return reinterpret_cast<ChunkRecord*> (storage.data());
}

std::vector<unsigned char> recordFor (const ProjectChunk& chunk)
{
    auto storage = makeRecordStorage (chunk.data.size());
    ChunkRecord* record = recordIn (storage);
    record->size = static_cast<int32_t> (chunk.data.size());
    record->version = chunk.version;
    record->chunkTypeId = chunk.chunkId;
    std::memcpy (record->name, chunk.name.data(), std::min (chunk.name.size(), sizeof (record->name) - 1));
    if (! chunk.data.empty())
        std::memcpy (ChunkRecordData (record), chunk.data.data(), chunk.data.size());
    return storage;
}

// The plug-in sends one name per line, a backslash in a name as two and a line feed as "\n".
std::vector<std::string> decodePresetNames (const char* text)
{
    std::vector<std::string> names;
    std::string name;
    for (const char* p = text; *p != '\0'; ++p)
    {
        if (*p == '\n')
            names.push_back (std::exchange (name, {}));
        else if (*p == '\\' && (p[1] == '\\' || p[1] == 'n'))
            name += *++p == 'n' ? '\n' : '\\';
        else
            name += *p;
    }
    // Text after the last line feed is a name cut short by the room it was given: not a name, so
    // it counts among those not listed.
    return names;
}
} // namespace

std::unique_ptr<HostInstance> HostInstance::create (HostCollection& description, const Options& options,
                                                    std::string& error)
{
    if (description.effects.empty() || ! description.effects.front().second)
    {
        error = "the plug-in described no effect";
        return nullptr;
    }
    const HostEffectDescriptor& effect = *description.effects.front().second.get();

    const auto creator = effect.procPointers.find (kAAX_ProcPtrID_Create_EffectParameters);
    if (creator == effect.procPointers.end() || creator->second == nullptr)
    {
        error = "the plug-in registered no effect-parameters procedure";
        return nullptr;
    }

    if (options.channels != 1 && options.channels != 2)
    {
        error = "only mono and stereo inserts exist";
        return nullptr;
    }
    const uint32_t stemFormat = options.channels == 1 ? AAX_eStemFormat_Mono : AAX_eStemFormat_Stereo;
    const ComponentRecord* component = nullptr;
    const ProcessProcRecord* procedure = findNativeProcedure (effect, stemFormat, &component);
    if (procedure == nullptr)
    {
        error = std::string ("the plug-in offers no ") + (options.channels == 1 ? "mono" : "stereo") + " component";
        return nullptr;
    }

    std::unique_ptr<HostInstance> instance (new HostInstance());
    instance->rate = options.sampleRate;
    instance->numChannels = options.channels;
    instance->processProc = reinterpret_cast<AAX_CProcessProc> (const_cast<void*> (procedure->processProc));
    if (! instance->buildContext (*component, error))
        return nullptr;

    HostInstanceServices::Settings settings;
    settings.sampleRate = options.sampleRate;
    settings.stemFormat = stemFormat;
    settings.confirmationDelay = options.confirmationDelay;
    instance->hostServices = HostReference<HostInstanceServices> (new HostInstanceServices (settings));

    IACFUnknown* const object = reinterpret_cast<AAX_CCreateObjectProc> (creator->second)();
    if (object == nullptr)
    {
        error = "the plug-in created no effect";
        return nullptr;
    }
    void* parameters = nullptr;
    if (object->QueryInterface (AAX_IID_EffectParameters_V4, &parameters) != ACF_OK || parameters == nullptr)
    {
        // Nobody holds the new object yet: one reference and its release delete it.
        object->AddRef();
        object->Release();
        error = "the plug-in's effect does not offer the effect-parameters interface";
        return nullptr;
    }
    instance->effectParameters = static_cast<AAX_IACFEffectParameters_V4*> (parameters);

    HostInstance* const self = instance.get();
    instance->hostServices->setConfirmation (
        [self] (const std::string& identifier, double value)
        { self->effectParameters->UpdateParameterNormalizedValue (identifier.c_str(), value, 0); });
    instance->hostServices->setPacketSink ([self] (AAX_CFieldIndex field, const void* data, uint32_t size)
                                           { self->receivePacket (field, data, size); });

    if (const AAX_Result result = instance->effectParameters->InitializeWithHost (instance->hostServices->asUnknown());
        result != AAX_SUCCESS)
    {
        error = "the effect's initialisation answered " + std::to_string (result);
        return nullptr;
    }

    // The private data blocks are the plug-in's to fill once the effect is initialised.
    for (auto& [field, block] : instance->privateData)
        instance->effectParameters->ZeroFieldData (field, block.data(), static_cast<uint32_t> (block.size()));

    // The packets every new effect starts with reach the context before the first block.
    instance->effectParameters->DispatchPackets();
    return instance;
}

HostInstance::~HostInstance()
{
    tearDown();
}

bool HostInstance::buildContext (const ComponentRecord& component, std::string& error)
{
    // Every index becomes a position in the context, so each one must lie inside it.
    constexpr AAX_CFieldIndex maxFieldIndex = 1024;
    AAX_CFieldIndex highest = -1;
    for (const ContextFieldRecord& field : component.fields)
    {
        if (field.index < 0 || field.index > maxFieldIndex)
        {
            error = "the component declared the " + field.kind + " field at index " + std::to_string (field.index) +
                    ", outside 0 to " + std::to_string (maxFieldIndex);
            return false;
        }
        highest = std::max (highest, field.index);
    }
    if (highest < 0)
    {
        error = "the component declared no usable context";
        return false;
    }
    context.assign (static_cast<size_t> (highest) + 1, nullptr);
    inputPointers.assign (static_cast<size_t> (numChannels), nullptr);
    outputPointers.assign (static_cast<size_t> (numChannels), nullptr);

    for (const ContextFieldRecord& field : component.fields)
    {
        void*& word = context[static_cast<size_t> (field.index)];
        if (field.kind == "audio in")
            word = inputPointers.data();
        else if (field.kind == "audio out")
            word = outputPointers.data();
        else if (field.kind == "buffer length")
            word = &bufferLength;
        else if (field.kind == "data-in port" && field.size > 0 && field.size <= 4096)
        {
            ports[field.index].assign (static_cast<size_t> (field.size), 0);
            postedPorts[field.index].assign (static_cast<size_t> (field.size), 0);
            word = ports[field.index].data();
        }
        else if (field.kind == "private data" && field.size > 0 && field.size <= 65536)
        {
            privateData[field.index].assign (static_cast<size_t> (field.size), 0);
            word = privateData[field.index].data();
        }
    }
    return true;
}

void HostInstance::receivePacket (AAX_CFieldIndex field, const void* data, uint32_t size)
{
    const std::lock_guard<std::mutex> guard (portLock);
    const auto port = postedPorts.find (field);
    if (port == postedPorts.end() || data == nullptr)
        return;
    std::fill (port->second.begin(), port->second.end(), 0);
    std::memcpy (port->second.data(), data, std::min<size_t> (size, port->second.size()));
    portsPosted.store (true, std::memory_order_release);
}

void HostInstance::deliverPackets() noexcept
{
    // The real-time thread never waits: a packet posted while it looks arrives at the next block.
    if (! portsPosted.load (std::memory_order_acquire) || ! portLock.try_lock())
        return;
    // Both maps hold the same fields, made with the context; nothing is inserted here.
    for (auto& [field, posted] : postedPorts)
        if (auto port = ports.find (field); port != ports.end())
            std::memcpy (port->second.data(), posted.data(), std::min (posted.size(), port->second.size()));
    portsPosted.store (false, std::memory_order_relaxed);
    portLock.unlock();
}

void HostInstance::idle()
{
    if (effectParameters == nullptr)
        return;
    effectParameters->HandleNotification (LarkspurHostNotifications::pumpMessages, nullptr, 0);
    hostServices->confirmDueRequests();
    effectParameters->DispatchPackets();
}

void HostInstance::process (const float* const* inputs, float* const* outputs, int numSamples)
{
    if (effectParameters == nullptr || processProc == nullptr)
        return;
    for (size_t channel = 0; channel < inputPointers.size(); ++channel)
    {
        inputPointers[channel] = inputs[channel];
        outputPointers[channel] = outputs[channel];
    }
    bufferLength = numSamples;
    deliverPackets();

    void* const instances[] = { context.data() };
    processProc (instances, instances + 1);
}

std::vector<std::string> HostInstance::parameterIds() const
{
    std::vector<std::string> identifiers;
    int32_t count = 0;
    if (effectParameters == nullptr || effectParameters->ParameterCount (&count) != AAX_SUCCESS)
        return identifiers;
    for (int32_t index = 0; index < count; ++index)
    {
        HostString identifier;
        if (effectParameters->ParameterIdByIndex (index, &identifier) == AAX_SUCCESS)
            identifiers.emplace_back (identifier.CString());
    }
    return identifiers;
}

AAX_Result HostInstance::automate (const std::string& identifier, double normalizedValue)
{
    return effectParameters->UpdateParameterNormalizedValue (identifier.c_str(), normalizedValue, 0);
}

double HostInstance::normalizedValue (const std::string& identifier) const
{
    double value = 0.0;
    effectParameters->ParameterNormalizedValue (identifier.c_str(), &value);
    return value;
}

AAX_Result HostInstance::selectPreset (const std::string& name, std::vector<std::string>* available)
{
    PresetList list;
    const AAX_Result result = selectPreset (name, list);
    if (available != nullptr)
        *available = std::move (list.names);
    return result;
}

AAX_Result HostInstance::selectPreset (const std::string& name, PresetList& list)
{
    std::vector<char> names (presetNamesCapacity, '\0');
    std::vector<char> file (textCapacity, '\0');
    std::vector<char> problem (textCapacity, '\0');
    LarkspurHostNotifications::PresetRequest request;
    request.name = name.c_str();
    request.names = names.data();
    request.namesCapacity = presetNamesCapacity;
    request.file = file.data();
    request.fileCapacity = textCapacity;
    request.problem = problem.data();
    request.problemCapacity = textCapacity;
    uint32_t numInFile = 0;
    request.numPresetsInFile = &numInFile;
    const AAX_Result result =
        effectParameters->HandleNotification (LarkspurHostNotifications::selectPreset, &request, sizeof (request));
    list.names = decodePresetNames (names.data());
    list.file = file.data();
    list.problem = problem.data();
    list.numInFile = std::max (static_cast<size_t> (numInFile), list.names.size());
    return result;
}

AAX_Result HostInstance::prepareAgain()
{
    return effectParameters->HandleNotification (LarkspurHostNotifications::prepareAgain, nullptr, 0);
}

AAX_Result HostInstance::saveChunks (HostProject& project)
{
    project.chunks.clear();
    int32_t count = 0;
    if (const AAX_Result result = effectParameters->ChunkCount (&count); result != AAX_SUCCESS)
        return result;

    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CTypeID chunkId = 0;
        uint32_t size = 0;
        if (const AAX_Result result = effectParameters->ChunkIdAtIndex (index, &chunkId); result != AAX_SUCCESS)
            return result;
        if (const AAX_Result result = effectParameters->ChunkSizeForId (chunkId, &size); result != AAX_SUCCESS)
            return result;

        auto storage = makeRecordStorage (size);
        ChunkRecord* record = recordIn (storage);
        record->chunkTypeId = chunkId;
        if (const AAX_Result result = effectParameters->WriteChunk (chunkId, record); result != AAX_SUCCESS)
            return result;
        if (record->size < 0 || static_cast<uint32_t> (record->size) > size)
            return AAX_ERROR_INCORRECT_CHUNK_SIZE;

        ProjectChunk chunk;
        chunk.chunkId = chunkId;
        chunk.version = record->version;
        chunk.name.assign (record->name, strnlen (record->name, sizeof (record->name)));
        chunk.data.assign (ChunkRecordData (record), ChunkRecordData (record) + record->size);
        project.chunks.push_back (std::move (chunk));
    }
    return AAX_SUCCESS;
}

AAX_Result HostInstance::loadChunks (const HostProject& project)
{
    for (const ProjectChunk& chunk : project.chunks)
    {
        auto storage = recordFor (chunk);
        if (const AAX_Result result = effectParameters->ApplyChunk (chunk.chunkId, recordIn (storage));
            result != AAX_SUCCESS)
            return result;
    }
    return AAX_SUCCESS;
}

AAX_Result HostInstance::compareChunk (const ProjectChunk& chunk, bool& equal)
{
    auto storage = recordFor (chunk);
    return effectParameters->CompareWithChunk (recordIn (storage), &equal);
}

void HostInstance::tearDown()
{
    if (effectParameters == nullptr)
        return;
    effectParameters->TearDown();
    effectParameters->Release();
    effectParameters = nullptr;
    hostServices->setConfirmation ({});
    hostServices->setPacketSink ({});
}
