// The editor opened and closed over and over while audio runs on the host's real-time thread and
// the host automates a band: editor construction waits for the block in progress, and the
// editor's controls follow the automation on the main thread (run under ThreadSanitizer too).

#include "EditorInsert.h"
#include "LiveInsertAudio.h"
#include "TestSignal.h"

#include <gtest/gtest.h>

TEST (EditorConcurrency, OpeningAndClosingTheEditorWhileAudioRunsAndTheHostAutomates)
{
    for (const int channels : { 2, 1 })
    {
        EditorInsert insert (channels);
        LiveInsertAudio audio (*insert.instance, makeTestSignal (48000.0, channels), 256);
        auto* gain = insert.processor().getValueTreeState().getParameter ("gain_1_2");
        ASSERT_NE (gain, nullptr);

        for (int round = 0; round < 20; ++round)
        {
            HostEditor& editor = insert.openEditor();
            ASSERT_NE (EditorInsert::guiObject (editor).getEditor(), nullptr) << "round " << round;
            EXPECT_EQ (editor.viewSize().width, 800.0f);
            insert.instance->automate ("gain_1_2", gain->convertTo0to1 (round % 2 == 0 ? 6.0f : -6.0f));
            insert.instance->prepareAgain();
            insert.pump (2);
            editor.tearDown();
            insert.editors.clear();
        }
        audio.stop();
        EXPECT_GT (audio.blocksPlayed(), 0);
    }
}
