// What the settings dialog needs of the program: the store, the settings in
// force and a way to change them, and the editors that take the look the
// settings describe. The main window implements it.
#pragma once

struct EditorLook;

namespace morvel {

class RegIniFile;
struct Settings;

class SettingsHost {
 public:
  virtual ~SettingsHost() = default;

  virtual RegIniFile& store() = 0;
  virtual const Settings& settings() const = 0;
  // The settings in force from now on.
  virtual void changeSettings(const Settings& settings) = 0;
  // Gives every editor the look, and new editors from now on.
  virtual void applyEditorLook(const EditorLook& look) = 0;
  // The tool bar's buttons as the settings in force want them.
  virtual void applyToolBarStyle() = 0;
  // The tab captions (file name or title, by the settings) and the window
  // caption.
  virtual void refreshCaptions() = 0;
};

}  // namespace morvel
