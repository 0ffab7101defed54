#include "ConvolutionEqAudioProcessor.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <memory>

TEST (EditorWindowTest, OpensAtItsFixedSizeOnTheDarkBackground)
{
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 800);
    EXPECT_EQ (editor->getHeight(), 518);
    EXPECT_FALSE (editor->isResizable());

    const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
    EXPECT_EQ (image.getPixelAt (2, 515).getARGB(), 0xFF231E1Au);

    processor.editorBeingDeleted (editor.get());
}
