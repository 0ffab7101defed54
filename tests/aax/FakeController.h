#pragma once

#include "AAX_Errors.h"
#include "AAX_IController.h"

#include <vector>

// Stands in for the host's controller and records every posted packet (field, bytes).
class FakeController : public AAX_IController
{
public:
    struct Post
    {
        AAX_CFieldIndex field;
        std::vector<unsigned char> bytes;
    };

    AAX_Result PostPacket (AAX_CFieldIndex field, const void* data, uint32_t size) override
    {
        const auto* bytes = static_cast<const unsigned char*> (data);
        posts.push_back ({ field, std::vector<unsigned char> (bytes, bytes + size) });
        return postResult;
    }

    std::vector<Post> posts;
    AAX_Result postResult = AAX_SUCCESS;

    // Nothing else is called by the code under test.
    AAX_Result ControllerQuery1 (void*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result SampleRate (float*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result InputStemFormat (uint32_t*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result OutputStemFormat (uint32_t*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall7 (void*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall8 (void*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall9 (void*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ReportLatency (int32_t) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall11 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall20 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall20 (void*, void*, void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall13 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall14 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall15 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall18 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall16 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall17 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall19 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall21 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall22 (void** out) override
    {
        *out = nullptr;
        return AAX_ERROR_UNIMPLEMENTED;
    }
    AAX_Result ControllerCall23 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerCall24 (void*) override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_Result ControllerQuery25 (int32_t*) const override { return AAX_ERROR_UNIMPLEMENTED; }
    AAX_IPageTable* CreatePageTable1 (void*, void*) const override { return nullptr; }
    AAX_IPageTable* CreatePageTable2 (void*, void*, void*) const override { return nullptr; }
    AAX_IPageTable* CreatePageTable3 (void*, void*) const override { return nullptr; }
    AAX_IPageTable* CreatePageTable4 (void*, void*, void*) const override { return nullptr; }
};
