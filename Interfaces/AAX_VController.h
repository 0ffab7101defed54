#pragma once

#include "AAX_IController.h"

class AAX_IACFController;
class AAX_IACFController_V2;
class AAX_IACFController_V3;
class AAX_IACFObjectFactory;
class AAX_IACFPageTableFactory;
class AAX_IACFPageTableFactory_V2;
class IACFUnknown;

// Forwards to the versions of the host's controller that the host supplies, and creates page
// tables through the host's page-table factories.
class AAX_VController final : public AAX_IController
{
public:
    explicit AAX_VController (IACFUnknown* hostUnknown);
    ~AAX_VController() override;

    AAX_VController (const AAX_VController&) = delete;
    AAX_VController& operator= (const AAX_VController&) = delete;

    AAX_Result ControllerQuery (void* data) const override;
    AAX_Result SampleRate (float* sampleRate) const override;
    AAX_Result InputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result OutputStemFormat (uint32_t* stemFormat) const override;
    AAX_Result ControllerCall5 (void* data) override;
    AAX_Result ControllerCall6 (void* data) override;
    AAX_Result ControllerCall7 (void* data) override;
    AAX_Result ReportLatency (int32_t samples) override;
    AAX_Result ControllerCall9 (void* data) override;
    AAX_Result PostPacket (uint32_t fieldIndex, const void* data, uint32_t size) override;
    AAX_Result ControllerCall11 (int32_t first) override;
    AAX_Result ControllerCall12 (int32_t first, int32_t second, int32_t third) override;
    AAX_Result ControllerCall13 (void* data) override;
    AAX_Result ControllerCall14 (void* data) override;
    AAX_Result ControllerCall15 (void* data) override;
    AAX_Result ControllerCall16 (void* data) override;
    AAX_Result ControllerCall17 (void* data) override;
    AAX_Result ControllerCall18 (void* data) override;
    AAX_Result ControllerCall19 (void* data) override;
    AAX_Result ControllerCall20 (void* data) override;
    AAX_Result ControllerCall21 (IACFUnknown** out) override;
    AAX_Result ControllerCall22 (void* data) override;
    AAX_Result ControllerCall23 (void* data) override;
    AAX_Result ControllerCount24 (int32_t* count) const override;

    AAX_IPageTable* NewPageTableForPlugIn (uint32_t manufacturerId, uint32_t productId, uint32_t plugInId,
                                           uint32_t tableType, int32_t tableSize) override;
    AAX_IPageTable* NewPageTableForEffect (const char* effectId, uint32_t tableType, int32_t tableSize) override;
    AAX_IPageTable* NewPageTableForPlugInFromFile (const char* filePath, uint32_t manufacturerId, uint32_t productId,
                                                   uint32_t plugInId, uint32_t tableType, int32_t tableSize) override;
    AAX_IPageTable* NewPageTableForEffectFromFile (const char* filePath, const char* effectId, uint32_t tableType,
                                                   int32_t tableSize) override;

private:
    // An empty host page table to be filled by a factory, with one reference, or null.
    IACFUnknown* CreateEmptyPageTable() const;
    // Wraps the filled table when the factory succeeded, and drops the local reference.
    static AAX_IPageTable* AdoptFilledPageTable (AAX_Result factoryResult, IACFUnknown* pageTable);

    AAX_IACFController* mController = nullptr;
    AAX_IACFController_V2* mControllerV2 = nullptr;
    AAX_IACFController_V3* mControllerV3 = nullptr;
    AAX_IACFPageTableFactory* mPageTableFactory = nullptr;
    AAX_IACFPageTableFactory_V2* mPageTableFactoryV2 = nullptr;
    AAX_IACFObjectFactory* mObjectFactory = nullptr;
};
