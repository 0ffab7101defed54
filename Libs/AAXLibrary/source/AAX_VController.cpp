#include "AAX_VController.h"

#include "AAX_Errors.h"
#include "AAX_HostObjects.h"
#include "AAX_IACFController.h"
#include "AAX_IACFPageTableFactory.h"
#include "AAX_VPageTable.h"

AAX_VController::AAX_VController (IACFUnknown* hostUnknown)
    : mController (AAX_QueryHostInterface<AAX_IACFController> (hostUnknown, AAX_IID_Controller))
    , mControllerV2 (AAX_QueryHostInterface<AAX_IACFController_V2> (hostUnknown, AAX_IID_Controller_V2))
    , mControllerV3 (AAX_QueryHostInterface<AAX_IACFController_V3> (hostUnknown, AAX_IID_Controller_V3))
    , mPageTableFactory (AAX_QueryHostInterface<AAX_IACFPageTableFactory> (hostUnknown, AAX_IID_PageTableFactoryA))
    , mPageTableFactoryV2 (AAX_QueryHostInterface<AAX_IACFPageTableFactory_V2> (hostUnknown, AAX_IID_PageTableFactoryB))
    // Without an object factory the controller still works; it only cannot create page tables.
    , mObjectFactory (AAX_QueryHostInterface<AAX_IACFObjectFactory> (hostUnknown, AAX_IID_ObjectFactory))
{
}

AAX_VController::~AAX_VController()
{
    AAX_ReleaseHostInterface (mObjectFactory);
    AAX_ReleaseHostInterface (mPageTableFactoryV2);
    AAX_ReleaseHostInterface (mPageTableFactory);
    AAX_ReleaseHostInterface (mControllerV3);
    AAX_ReleaseHostInterface (mControllerV2);
    AAX_ReleaseHostInterface (mController);
}

AAX_Result AAX_VController::ControllerQuery (void* data) const
{
    return mController != nullptr ? mController->ControllerQuery (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::SampleRate (float* sampleRate) const
{
    return mController != nullptr ? mController->GetSampleRate (sampleRate) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::InputStemFormat (uint32_t* stemFormat) const
{
    return mController != nullptr ? mController->GetInputStemFormat (stemFormat) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::OutputStemFormat (uint32_t* stemFormat) const
{
    return mController != nullptr ? mController->GetOutputStemFormat (stemFormat) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall5 (void* data)
{
    return mController != nullptr ? mController->ControllerCall7 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall6 (void* data)
{
    return mController != nullptr ? mController->ControllerCall8 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall7 (void* data)
{
    return mController != nullptr ? mController->ControllerCall9 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ReportLatency (int32_t samples)
{
    return mController != nullptr ? mController->SetSignalLatency (samples) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall9 (void* data)
{
    return mController != nullptr ? mController->ControllerCall11 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::PostPacket (uint32_t fieldIndex, const void* data, uint32_t size)
{
    return mController != nullptr ? mController->PostPacket (fieldIndex, data, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall11 (int32_t first)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall20 (first, 0, 0) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall12 (int32_t first, int32_t second, int32_t third)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall20 (first, second, third) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall13 (void* data)
{
    return mController != nullptr ? mController->ControllerCall13 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall14 (void* data)
{
    return mController != nullptr ? mController->ControllerCall14 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall15 (void* data)
{
    return mController != nullptr ? mController->ControllerCall15 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall16 (void* data)
{
    return mController != nullptr ? mController->ControllerCall18 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall17 (void* data)
{
    return mController != nullptr ? mController->ControllerCall16 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall18 (void* data)
{
    return mController != nullptr ? mController->ControllerCall17 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall19 (void* data)
{
    return mController != nullptr ? mController->ControllerCall19 (data) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall20 (void* data)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall21 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall21 (IACFUnknown** out)
{
    if (mControllerV2 != nullptr)
        return mControllerV2->ControllerCall22 (out);
    if (out != nullptr)
        *out = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall22 (void* data)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall23 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall23 (void* data)
{
    return mControllerV3 != nullptr ? mControllerV3->ControllerCall24 (data) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCount24 (int32_t* count) const
{
    return mControllerV3 != nullptr ? mControllerV3->ControllerCount25 (count) : AAX_ERROR_UNIMPLEMENTED;
}

IACFUnknown* AAX_VController::CreateEmptyPageTable() const
{
    return AAX_CreateHostObject<IACFUnknown> (mObjectFactory, AAX_CLSID_PageTable, AAX_IID_PageTable_V2);
}

AAX_IPageTable* AAX_VController::AdoptFilledPageTable (AAX_Result factoryResult, IACFUnknown* pageTable)
{
    AAX_IPageTable* wrapper = nullptr;
    if (factoryResult == AAX_SUCCESS && pageTable != nullptr)
        wrapper = new AAX_VPageTable (pageTable);
    AAX_ReleaseHostInterface (pageTable);
    return wrapper;
}

AAX_IPageTable* AAX_VController::NewPageTableForPlugIn (uint32_t manufacturerId, uint32_t productId, uint32_t plugInId,
                                                        uint32_t tableType, int32_t tableSize)
{
    if (mPageTableFactory == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    const AAX_Result result =
        mPageTableFactory->CopyTableForPlugIn (manufacturerId, productId, plugInId, tableType, tableSize, pageTable);
    return AdoptFilledPageTable (result, pageTable);
}

AAX_IPageTable* AAX_VController::NewPageTableForEffect (const char* effectId, uint32_t tableType, int32_t tableSize)
{
    if (mPageTableFactory == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    const AAX_Result result = mPageTableFactory->CopyTableForEffect (effectId, tableType, tableSize, pageTable);
    return AdoptFilledPageTable (result, pageTable);
}

AAX_IPageTable* AAX_VController::NewPageTableForPlugInFromFile (const char* filePath, uint32_t manufacturerId,
                                                                uint32_t productId, uint32_t plugInId,
                                                                uint32_t tableType, int32_t tableSize)
{
    if (mPageTableFactoryV2 == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    const AAX_Result result = mPageTableFactoryV2->CopyTableForPlugInFromFile (
        filePath, manufacturerId, productId, plugInId, tableType, tableSize, pageTable);
    return AdoptFilledPageTable (result, pageTable);
}

AAX_IPageTable* AAX_VController::NewPageTableForEffectFromFile (const char* filePath, const char* effectId,
                                                                uint32_t tableType, int32_t tableSize)
{
    if (mPageTableFactoryV2 == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    const AAX_Result result =
        mPageTableFactoryV2->CopyTableForEffectFromFile (filePath, effectId, tableType, tableSize, pageTable);
    return AdoptFilledPageTable (result, pageTable);
}
