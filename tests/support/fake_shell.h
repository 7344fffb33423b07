// A Shell that records what the viewer asks of its window and answers the
// prompts as the test scripts them. What other threads may call (requests
// and posts) is safe from any thread.
#pragma once

#include "viewer/bvh_file_options.h"
#include "viewer/floor_options.h"
#include "viewer/input_options.h"
#include "viewer/shell.h"

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class FakeShell : public Shell {
  public:
    struct Message {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    // Scripted answers; once used up, a box answers Cancel (or Ok) and the
    // no-suits prompt Ignore with its box clear.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<std::pair<NoSuitsAnswer, int>> noSuitsReplies; // answer, box ticked
    std::function<void()> whileMessageOpen;                   // the event loop a modal box runs
    std::function<void()> whileNoSuitsOpen;

    std::map<StatusPane, std::vector<std::string>> statusTexts;
    std::vector<Message> messages;
    std::map<Command, bool> menuChecks;
    std::vector<std::string> aboutTexts;
    int repaints = 0, closeRequests = 0, noSuitsPrompts = 0;
    std::atomic<int> repaintRequests{0};

    std::string Status(StatusPane pane)
    {
        return statusTexts[pane].empty() ? "" : statusTexts[pane].back();
    }
    std::vector<Command> PostedCommands() { return Locked(postedCommands); }
    std::vector<VarnelHandle> PostedTimeoutPrompts() { return Locked(postedPrompts); }
    std::vector<Message> PostedMessages() { return Locked(postedMessages); }

    void SetStatusText(StatusPane pane, std::string_view text) override
    {
        statusTexts[pane].emplace_back(text);
    }
    MessageAnswer ShowMessage(const std::string& text, MessageIcon icon,
                              MessageButtons buttons) override
    {
        messages.push_back({text, icon, buttons});
        if (whileMessageOpen)
            whileMessageOpen();
        MessageAnswer answer =
            buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
        if (!messageAnswers.empty()) {
            answer = messageAnswers.front();
            messageAnswers.pop_front();
        }
        return answer;
    }
    void SetMenuCheck(Command command, bool checked) override { menuChecks[command] = checked; }
    ViewSize CurrentViewSize() override { return {800, 600}; }
    void Repaint() override { repaints++; }
    void PostClose() override { closeRequests++; }
    NoSuitsAnswer AskNoSuitsDetected(int* dontLook) override
    {
        noSuitsPrompts++;
        if (whileNoSuitsOpen)
            whileNoSuitsOpen();
        std::pair reply = {NoSuitsAnswer::Ignore, 0};
        if (!noSuitsReplies.empty()) {
            reply = noSuitsReplies.front();
            noSuitsReplies.pop_front();
        }
        *dontLook = reply.second; // also on Esc, where the viewer must not heed it
        return reply.first;
    }
    void ShowAbout(const std::string& text) override { aboutTexts.push_back(text); }

    void RequestRepaint() override { repaintRequests++; }
    void PostCommand(Command command) override { Add(postedCommands, command); }
    void PostTimeoutPrompt(VarnelHandle suit) override { Add(postedPrompts, suit); }
    void PostMessageBox(const std::string& text, MessageIcon icon) override
    {
        Add(postedMessages, Message{text, icon, MessageButtons::Ok});
    }

    // The engine's waits and beeps: recorded; a wait returns at once.
    std::vector<int> waits;
    std::vector<std::pair<int, int>> beeps; // frequency, milliseconds
    void Wait(int milliseconds) override { waits.push_back(milliseconds); }
    void Beep(int frequencyHz, int milliseconds) override
    {
        beeps.emplace_back(frequencyHz, milliseconds);
    }

    // The option dialogs: the script plays the user on the form and returns
    // true for OK; without one the dialog is cancelled.
    std::function<bool(InputOptionsForm&)> inputOptionsUser;
    std::function<bool(BvhFileOptionsForm&)> bvhFileOptionsUser;
    std::function<bool(FloorForm&)> floorGeometryUser;
    bool RunInputOptions(InputOptionsForm& form) override
    {
        return inputOptionsUser && inputOptionsUser(form);
    }
    bool RunBvhFileOptions(BvhFileOptionsForm& form) override
    {
        return bvhFileOptionsUser && bvhFileOptionsUser(form);
    }
    bool RunFloorGeometry(FloorForm& form) override
    {
        return floorGeometryUser && floorGeometryUser(form);
    }

  private:
    template <typename T> std::vector<T> Locked(const std::vector<T>& posts)
    {
        std::lock_guard hold(postLock);
        return posts;
    }
    template <typename T> void Add(std::vector<T>& posts, T post)
    {
        std::lock_guard hold(postLock);
        posts.push_back(post);
    }

    std::mutex postLock;
    std::vector<Command> postedCommands;
    std::vector<VarnelHandle> postedPrompts;
    std::vector<Message> postedMessages;

    // Files: dialogs and the save-take question answer as scripted; once
    // used up, a dialog is cancelled and the question answers Cancel.
  public:
    std::deque<std::string> openChoices, saveChoices; // "" cancels
    std::deque<SaveTakeAnswer> saveTakeAnswers;
    std::vector<FileDialog> openDialogs, saveDialogs; // as each was shown
    int saveTakeQuestions = 0;

    std::string ChooseFileToOpen(const FileDialog& dialog) override
    {
        openDialogs.push_back(dialog);
        return Next(openChoices, std::string());
    }
    std::string ChooseFileToSave(const FileDialog& dialog) override
    {
        saveDialogs.push_back(dialog);
        return Next(saveChoices, std::string());
    }
    SaveTakeAnswer AskSaveTake() override
    {
        saveTakeQuestions++;
        return Next(saveTakeAnswers, SaveTakeAnswer::Cancel);
    }

  private:
    template <typename T> static T Next(std::deque<T>& script, T whenUsedUp)
    {
        if (script.empty())
            return whenUsedUp;
        T next = script.front();
        script.pop_front();
        return next;
    }
};
