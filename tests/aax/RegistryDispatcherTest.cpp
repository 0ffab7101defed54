#include "FakeAutomationDelegate.h"
#include "FakeController.h"
#include "TestParameters.h"

#include "AAX_CPacketDispatcher.h"
#include "AAX_CPacketHandler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<unsigned char> bytesOf (const void* data, size_t size)
{
    const auto* bytes = static_cast<const unsigned char*> (data);
    return std::vector<unsigned char> (bytes, bytes + size);
}

using ValueHandler = AAX_CPacketHandler<AAX_CPacketDispatcher>;

ValueHandler valueHandler (AAX_CPacketDispatcher& dispatcher)
{
    return ValueHandler (&dispatcher, &AAX_CPacketDispatcher::FillValuePacket);
}

struct DispatcherFixture : ::testing::Test
{
    DispatcherFixture() { dispatcher.Initialize (&controller, &owner); }

    FakeController controller;
    FakeParameterOwner owner;
    AAX_CPacketDispatcher dispatcher;
};
} // namespace

TEST (ParameterRegistry, RegistersInOrderAndFindsByIdOrIndex)
{
    FakeAutomationDelegate automation;
    AAX_CParameterRegistry registry;
    EXPECT_EQ (registry.IndexOfId ("gain"), -1);
    registry.SetAutomationDelegate (&automation);

    registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());
    registry.AddParameter (makeUnitParameter ("trim", 0.5f).release());
    AAX_IParameter* duplicate = makeUnitParameter ("gain", 0.1f).release();
    registry.AddParameter (duplicate);

    EXPECT_EQ (automation.calls, (std::vector<std::string>{ "register gain", "register trim", "register gain" }));
    EXPECT_EQ (registry.NumParameters(), 3);
    EXPECT_STREQ (registry.FindParameterById ("trim")->Identifier(), "trim");
    EXPECT_EQ (registry.FindParameterById ("gain"), registry.ParameterAtIndex (0));
    EXPECT_EQ (registry.ParameterAtIndex (2), duplicate);
    EXPECT_EQ (registry.FindParameterById ("gai"), nullptr);
    EXPECT_EQ (registry.FindParameterById (nullptr), nullptr);
    EXPECT_EQ (registry.IndexOfId ("trim"), 1);
    EXPECT_EQ (registry.IndexOfId ("gain"), 0);
    EXPECT_EQ (registry.IndexOfId ("unknown"), -1);
    EXPECT_EQ (registry.IndexOfId (nullptr), -1);
    EXPECT_EQ (registry.ParameterAtIndex (-1), nullptr);
    EXPECT_EQ (registry.ParameterAtIndex (3), nullptr);

    automation.calls.clear();
    registry.DeleteAllParameters();
    EXPECT_EQ (automation.calls, (std::vector<std::string>{ "unregister gain", "unregister trim", "unregister gain" }));
    EXPECT_EQ (registry.NumParameters(), 0);
    EXPECT_EQ (registry.FindParameterById ("gain"), nullptr);
}

TEST (ParameterRegistry, DestructionDeletesItsParameters)
{
    FakeAutomationDelegate automation;
    {
        AAX_CParameterRegistry registry;
        registry.SetAutomationDelegate (&automation);
        registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());
        automation.calls.clear();
    }
    EXPECT_EQ (automation.calls, std::vector<std::string>{ "unregister gain" });
}

TEST_F (DispatcherFixture, NewPacketIsPostedOnceAndSharedPacketOncePerDispatch)
{
    owner.registry.AddParameter (makeUnitParameter ("MasterBypassID", 1.0f).release());
    owner.registry.AddParameter (makeUnitParameter ("bypass", 0.0f).release());
    EXPECT_EQ (dispatcher.AddPacketHandler ("MasterBypassID", 3, valueHandler (dispatcher)), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.AddPacketHandler ("bypass", 3, valueHandler (dispatcher)), AAX_SUCCESS);

    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_SUCCESS);
    ASSERT_EQ (controller.posts.size(), 1u);
    EXPECT_EQ (controller.posts[0].field, 3);

    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_SUCCESS);
    EXPECT_EQ (controller.posts.size(), 1u);

    dispatcher.MarkPacketsDirty ("MasterBypassID");
    dispatcher.MarkPacketsDirty ("bypass");
    dispatcher.DispatchDirtyPackets();
    ASSERT_EQ (controller.posts.size(), 2u);

    // Handlers run in identifier order: "MasterBypassID" sorts before "bypass".
    const float one = 1.0f;
    EXPECT_EQ (controller.posts[1].bytes, bytesOf (&one, 4));
}

TEST_F (DispatcherFixture, MarkingAnUnboundIdentifierChangesNothing)
{
    owner.registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());
    dispatcher.AddPacketHandler ("gain", 1, valueHandler (dispatcher));
    dispatcher.DispatchDirtyPackets();
    controller.posts.clear();

    EXPECT_EQ (dispatcher.MarkPacketsDirty ("trim"), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.MarkPacketsDirty ("gai"), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.MarkPacketsDirty (nullptr), AAX_SUCCESS);
    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posts.empty());
}

TEST_F (DispatcherFixture, PacketsCarryTheValueInNativeOrder)
{
    owner.registry.AddParameter (makeUnitParameter ("a_float", 0.75f).release());
    owner.registry.AddParameter (new DoubleValuedParameter ("b_double", 0.1));
    owner.registry.AddParameter (new BoolValuedParameter ("c_bool", true));
    dispatcher.AddPacketHandler ("a_float", 1, valueHandler (dispatcher));
    dispatcher.AddPacketHandler ("b_double", 2, valueHandler (dispatcher));
    dispatcher.AddPacketHandler ("c_bool", 3, valueHandler (dispatcher));
    dispatcher.DispatchDirtyPackets();

    ASSERT_EQ (controller.posts.size(), 3u);
    const float floatValue = 0.75f;
    const double doubleValue = 0.1;
    const int32_t boolWord = 1;
    EXPECT_EQ (controller.posts[0].field, 1);
    EXPECT_EQ (controller.posts[0].bytes, bytesOf (&floatValue, 4));
    EXPECT_EQ (controller.posts[1].field, 2);
    EXPECT_EQ (controller.posts[1].bytes, bytesOf (&doubleValue, 8));
    EXPECT_EQ (controller.posts[2].field, 3);
    EXPECT_EQ (controller.posts[2].bytes, bytesOf (&boolWord, 4));
}

TEST_F (DispatcherFixture, UnfillablePacketsAreNotPostedButCleared)
{
    owner.registry.AddParameter (new ValuelessParameter ("novalue"));
    dispatcher.AddPacketHandler ("missing", 1, valueHandler (dispatcher));
    dispatcher.AddPacketHandler ("novalue", 2, valueHandler (dispatcher));
    dispatcher.AddPacketHandler ("nocallback", 3,
                                 ValueHandler (&dispatcher, static_cast<ValueHandler::PacketCallback> (nullptr)));

    AAX_CDispatchPacket packet (9);
    EXPECT_EQ (dispatcher.FillValuePacket ("missing", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (dispatcher.FillValuePacket ("novalue", packet), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (ValueHandler (&dispatcher, static_cast<ValueHandler::PacketCallback> (nullptr)).Call ("x", packet),
               AAX_ERROR_NULL_OBJECT);

    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_SUCCESS);
    EXPECT_TRUE (controller.posts.empty());

    // Cleared: a later dispatch does not retry them.
    owner.registry.AddParameter (makeUnitParameter ("missing", 0.5f).release());
    dispatcher.DispatchDirtyPackets();
    EXPECT_TRUE (controller.posts.empty());
}

TEST_F (DispatcherFixture, AnswersTheLastPostsResult)
{
    owner.registry.AddParameter (makeUnitParameter ("a", 0.5f).release());
    owner.registry.AddParameter (makeUnitParameter ("b", 0.5f).release());
    dispatcher.AddPacketHandler ("a", 1, valueHandler (dispatcher));
    dispatcher.AddPacketHandler ("b", 2, valueHandler (dispatcher));
    controller.postResult = AAX_ERROR_POST_PACKET_FAILED;
    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_ERROR_POST_PACKET_FAILED);
    EXPECT_EQ (controller.posts.size(), 2u);
}

TEST (PacketDispatcher, WithoutControllerNothingIsPosted)
{
    FakeParameterOwner owner;
    owner.registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());
    AAX_CPacketDispatcher dispatcher;
    dispatcher.Initialize (static_cast<AAX_IController*> (nullptr), &owner);
    dispatcher.AddPacketHandler ("gain", 1, valueHandler (dispatcher));
    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_ERROR_NULL_OBJECT);
}

namespace
{
// A handler that calls back into the dispatcher from its callback, on the same thread.
struct ReentrantWorker
{
    AAX_Result Fill (AAX_CParamID identifier, AAX_CDispatchPacket& packet)
    {
        dispatcher->MarkPacketsDirty ("other");
        ++calls;
        return dispatcher->FillValuePacket (identifier, packet);
    }

    AAX_CPacketDispatcher* dispatcher;
    int calls = 0;
};
} // namespace

TEST_F (DispatcherFixture, CallbacksMayCallBackWithoutDeadlock)
{
    owner.registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());
    owner.registry.AddParameter (makeUnitParameter ("other", 0.25f).release());
    ReentrantWorker worker{ &dispatcher };
    dispatcher.AddPacketHandler ("gain", 1, AAX_CPacketHandler<ReentrantWorker> (&worker, &ReentrantWorker::Fill));
    dispatcher.AddPacketHandler ("other", 2, valueHandler (dispatcher));

    EXPECT_EQ (dispatcher.DispatchDirtyPackets(), AAX_SUCCESS);
    EXPECT_EQ (worker.calls, 1);
    EXPECT_EQ (controller.posts.size(), 2u);
}
