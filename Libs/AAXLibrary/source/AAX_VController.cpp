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

AAX_Result AAX_VController::ControllerQuery1 (void* out) const
{
    return mController != nullptr ? mController->ControllerQuery (out) : AAX_ERROR_NULL_OBJECT;
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

AAX_Result AAX_VController::ControllerCall7 (void* argument) const
{
    return mController != nullptr ? mController->ControllerCall7 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall8 (void* argument) const
{
    return mController != nullptr ? mController->ControllerCall8 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall9 (void* argument) const
{
    return mController != nullptr ? mController->ControllerCall9 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ReportLatency (int32_t samples)
{
    return mController != nullptr ? mController->SetSignalLatency (samples) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall11 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall11 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size)
{
    return mController != nullptr ? mController->PostPacket (fieldIndex, data, size) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall20 (void* argument)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall20 (argument, nullptr, nullptr)
                                    : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall20 (void* argument, void* second, void* third)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall20 (argument, second, third)
                                    : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall13 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall13 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall14 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall14 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall15 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall15 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall18 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall18 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall16 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall16 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall17 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall17 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall19 (void* argument)
{
    return mController != nullptr ? mController->ControllerCall19 (argument) : AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_VController::ControllerCall21 (void* argument)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall21 (argument) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall22 (void** out)
{
    if (mControllerV2 != nullptr)
        return mControllerV2->ControllerCall22 (out);
    if (out != nullptr)
        *out = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall23 (void* argument)
{
    return mControllerV2 != nullptr ? mControllerV2->ControllerCall23 (argument) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerCall24 (void* argument)
{
    return mControllerV3 != nullptr ? mControllerV3->ControllerCall24 (argument) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VController::ControllerQuery25 (int32_t* count) const
{
    return mControllerV3 != nullptr ? mControllerV3->ControllerCount25 (count) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_IPageTable* AAX_VController::CreatePageTable1 (void* first, void* second) const
{
    if (mPageTableFactory == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    return AdoptFilledPageTable (mPageTableFactory->CopyPageTable3 (first, second, pageTable), pageTable);
}

AAX_IPageTable* AAX_VController::CreatePageTable2 (void* first, void* second, void* third) const
{
    if (mPageTableFactory == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    return AdoptFilledPageTable (mPageTableFactory->CopyPageTable4 (first, second, third, pageTable), pageTable);
}

AAX_IPageTable* AAX_VController::CreatePageTable3 (void* first, void* second) const
{
    if (mPageTableFactoryV2 == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    return AdoptFilledPageTable (mPageTableFactoryV2->CopyPageTable5 (first, second, pageTable), pageTable);
}

AAX_IPageTable* AAX_VController::CreatePageTable4 (void* first, void* second, void* third) const
{
    if (mPageTableFactoryV2 == nullptr)
        return nullptr;
    IACFUnknown* const pageTable = CreateEmptyPageTable();
    return AdoptFilledPageTable (mPageTableFactoryV2->CopyPageTable6 (first, second, third, pageTable), pageTable);
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
