#include "AAX_Callbacks.h"
#include "AAX_Errors.h"
#include "AAX_ICollection.h"
#include "AAX_IComponentDescriptor.h"
#include "AAX_IEffectDescriptor.h"
#include "AAX_IPropertyMap.h"
#include "AAX_Registration.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"
#include "LarkspurIdentity.h"
#include "LarkspurProcessContext.h"

// The plug-in wrapper's part of registration: one effect with a component per channel layout.
// Every step answers the host's result; the first failure ends the description with it.

#define LARKSPUR_RETURN_IF_FAILED(call)                                                                                \
    do                                                                                                                 \
    {                                                                                                                  \
        const AAX_Result stepResult = (call);                                                                          \
        if (stepResult != AAX_SUCCESS)                                                                                 \
            return stepResult;                                                                                         \
    } while (false)

namespace
{
AAX_Result describeContext (AAX_IComponentDescriptor& component)
{
    namespace Fields = LarkspurContextFields;
    LARKSPUR_RETURN_IF_FAILED (component.AddAudioInField (Fields::inputChannels));
    LARKSPUR_RETURN_IF_FAILED (component.AddAudioOutField (Fields::outputChannels));
    LARKSPUR_RETURN_IF_FAILED (component.AddBufferLengthField (Fields::bufferLength));
    LARKSPUR_RETURN_IF_FAILED (
        component.AddDataInPortField (Fields::bypass, Fields::bypassSize, Fields::bypassPortType));
    LARKSPUR_RETURN_IF_FAILED (
        component.AddPrivateDataField (Fields::instance, Fields::instanceSize, Fields::instanceOption));
    return AAX_SUCCESS;
}

AAX_Result describeComponent (AAX_IComponentDescriptor& component, const LarkspurIdentity::ChannelLayout& layout)
{
    LARKSPUR_RETURN_IF_FAILED (describeContext (component));

    AAX_IPropertyMap* const properties = component.NewPropertyMap();
    if (properties == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    LARKSPUR_RETURN_IF_FAILED (
        properties->AddProperty (AAX_eProperty_ManufacturerID, LarkspurIdentity::manufacturerId));
    LARKSPUR_RETURN_IF_FAILED (properties->AddProperty (AAX_eProperty_ProductID, LarkspurIdentity::productId));
    LARKSPUR_RETURN_IF_FAILED (properties->AddProperty (AAX_eProperty_PlugInID_Native, layout.plugInTypeId));
    LARKSPUR_RETURN_IF_FAILED (properties->AddProperty (AAX_eProperty_InputStemFormat, layout.inputStemFormat));
    LARKSPUR_RETURN_IF_FAILED (properties->AddProperty (AAX_eProperty_OutputStemFormat, layout.outputStemFormat));
    LARKSPUR_RETURN_IF_FAILED (properties->AddPointerProperty (AAX_eProperty_NativeProcessProc,
                                                               reinterpret_cast<const void*> (&larkspurProcess)));

    return component.AddProcessProcs (properties, nullptr, 0);
}

// JUCE learns the plug-in's name from a complete, short-lived processor (whose
// construction also creates the presets file when it is missing).
juce::String probeProcessorName()
{
    const juce::ScopedJuceInitialiser_GUI framework;
    const ConvolutionEqAudioProcessor probe;
    return probe.getName();
}

AAX_Result describeEffect (AAX_IEffectDescriptor& effect)
{
    LARKSPUR_RETURN_IF_FAILED (effect.AddName (probeProcessorName().toRawUTF8()));
    LARKSPUR_RETURN_IF_FAILED (effect.AddCategory (LarkspurIdentity::category));

    for (const auto& layout : LarkspurIdentity::channelLayouts)
    {
        AAX_IComponentDescriptor* const component = effect.NewComponentDescriptor();
        if (component == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        LARKSPUR_RETURN_IF_FAILED (describeComponent (*component, layout));
        LARKSPUR_RETURN_IF_FAILED (effect.AddComponent (component));
    }

    LARKSPUR_RETURN_IF_FAILED (effect.AddProcPointer (reinterpret_cast<void*> (&AAXClasses::JuceAAX_Processor::Create),
                                                      kAAX_ProcPtrID_Create_EffectParameters));
    LARKSPUR_RETURN_IF_FAILED (effect.AddProcPointer (reinterpret_cast<void*> (&AAXClasses::JuceAAX_GUI::Create),
                                                      kAAX_ProcPtrID_Create_EffectGUI));
    return AAX_SUCCESS;
}
} // namespace

AAX_Result GetEffectDescriptions (AAX_ICollection* collection)
{
    if (collection == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    AAX_IEffectDescriptor* const effect = collection->NewEffectDescriptor();
    if (effect == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    LARKSPUR_RETURN_IF_FAILED (describeEffect (*effect));
    LARKSPUR_RETURN_IF_FAILED (collection->AddEffect (LarkspurIdentity::effectId, effect));

    LARKSPUR_RETURN_IF_FAILED (collection->SetManufacturerName (LarkspurIdentity::manufacturerName));
    LARKSPUR_RETURN_IF_FAILED (collection->AddPackageName (LarkspurIdentity::productName));
    return collection->SetPackageVersion (LarkspurIdentity::packageVersion);
}
