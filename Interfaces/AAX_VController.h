#pragma once

#include "AAX_IController.h"

class AAX_IACFController;
class AAX_IACFController_V2;
class AAX_IACFController_V3;
class AAX_IACFObjectFactory;
class AAX_IACFPageTableFactory;
class AAX_IACFPageTableFactory_V2;
class IACFUnknown;

/** Forwards to the versions of the host's controller that the host supplies, and creates page
    tables through the host's page-table factories. */
class AAX_VController final : public AAX_IController
{
public:
    explicit AAX_VController (IACFUnknown* hostUnknown);
    ~AAX_VController() override;

    AAX_VController (const AAX_VController&) = delete;
    AAX_VController& operator= (const AAX_VController&) = delete;

    AAX_Result ControllerQuery1 (void* out) const override;
    AAX_Result SampleRate (float* sampleRate) const override;
    AAX_Result InputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result OutputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result ControllerCall7 (void* argument) const override;
    AAX_Result ControllerCall8 (void* argument) const override;
    AAX_Result ControllerCall9 (void* argument) const override;
    AAX_Result ReportLatency (int32_t samples) override;
    AAX_Result ControllerCall11 (void* argument) override;
    AAX_Result PostPacket (AAX_CFieldIndex fieldIndex, const void* data, uint32_t size) override;
    AAX_Result ControllerCall20 (void* argument) override;
    AAX_Result ControllerCall20 (void* argument, void* second, void* third) override;
    AAX_Result ControllerCall13 (void* argument) override;
    AAX_Result ControllerCall14 (void* argument) override;
    AAX_Result ControllerCall15 (void* argument) override;
    AAX_Result ControllerCall18 (void* argument) override;
    AAX_Result ControllerCall16 (void* argument) override;
    AAX_Result ControllerCall17 (void* argument) override;
    AAX_Result ControllerCall19 (void* argument) override;
    AAX_Result ControllerCall21 (void* argument) override;
    AAX_Result ControllerCall22 (void** out) override;
    AAX_Result ControllerCall23 (void* argument) override;
    AAX_Result ControllerCall24 (void* argument) override;
    AAX_Result ControllerQuery25 (int32_t* count) const override;
    AAX_IPageTable* CreatePageTable1 (void* first, void* second) const override;
    AAX_IPageTable* CreatePageTable2 (void* first, void* second, void* third) const override;
    AAX_IPageTable* CreatePageTable3 (void* first, void* second) const override;
    AAX_IPageTable* CreatePageTable4 (void* first, void* second, void* third) const override;

private:
    /** An empty host page table for a factory to fill, with one reference, or null. */
    IACFUnknown* CreateEmptyPageTable() const;
    /** Wraps the filled table when the factory succeeded, and drops the local reference. */
    static AAX_IPageTable* AdoptFilledPageTable (AAX_Result factoryResult, IACFUnknown* pageTable);

    AAX_IACFController* mController = nullptr;
    AAX_IACFController_V2* mControllerV2 = nullptr;
    AAX_IACFController_V3* mControllerV3 = nullptr;
    AAX_IACFPageTableFactory* mPageTableFactory = nullptr;
    AAX_IACFPageTableFactory_V2* mPageTableFactoryV2 = nullptr;
    AAX_IACFObjectFactory* mObjectFactory = nullptr;
};
