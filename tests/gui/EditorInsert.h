#pragma once

#include "AAX_Errors.h"
#include "CACFUnknown.h"
#include "HostCollection.h"
#include "HostComponent.h"
#include "HostEditor.h"
#include "HostInstance.h"
#include "HostSession.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"
#include "LinkedEntryPoints.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

// One insert of the plug-in linked into the test, driven through the host stand-in's objects,
// with its GUI object; the plug-in's objects are reachable for looking inside.
class EditorInsert
{
public:
    explicit EditorInsert (int channels = 2)
    {
        session = std::make_unique<HostSession> (linkedEntryPoints());
        EXPECT_EQ (session->startUp(), ACF_OK);
        EXPECT_EQ (session->registerPlugin(), ACF_OK);

        HostInstance::Options options;
        options.channels = channels;
        std::string error;
        instance = HostInstance::create (*session->description(), options, error);
        EXPECT_NE (instance, nullptr) << error;
    }

    ~EditorInsert()
    {
        editors.clear();
        instance.reset();
        session->releaseDescription();
        EXPECT_EQ (session->waitUntilUnloadable (1), 0) << "a plug-in object is still alive";
        session.reset();
        EXPECT_EQ (HostComponent::liveObjectCount(), 0) << "a host object was not released";
    }

    // A new GUI object of this insert, initialised.
    HostEditor& openEditor()
    {
        std::string error;
        auto editor = HostEditor::create (*session->description(), *instance, error);
        EXPECT_NE (editor, nullptr) << error;
        editors.push_back (std::move (editor));
        return *editors.back();
    }

    static AAXClasses::JuceAAX_GUI& guiObject (HostEditor& editor)
    {
        return dynamic_cast<AAXClasses::JuceAAX_GUI&> (editor.gui());
    }

    ConvolutionEqAudioProcessor& processor() const
    {
        return dynamic_cast<AAXClasses::JuceAAX_Processor&> (instance->effect()).getProcessor();
    }

    // The host's main-thread turns: X events are the caller's, the plug-in's messages and the
    // host's idle work are done here.
    void pump (int turns = 1)
    {
        for (int turn = 0; turn < turns; ++turn)
        {
            for (auto& editor : editors)
                editor->idle();
            instance->idle();
            if (turns > 1)
                std::this_thread::sleep_for (std::chrono::milliseconds (2));
        }
    }

    std::unique_ptr<HostSession> session;
    std::unique_ptr<HostInstance> instance;
    std::vector<std::unique_ptr<HostEditor>> editors;
};
