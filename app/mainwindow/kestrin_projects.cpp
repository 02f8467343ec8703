// TKestrin: the project tree is read when the window is first shown and
// written when it closes.
#include "mainwindow/kestrin.h"

#include "projects/project_tree.h"

void TKestrin::loadProjectTree() { projects_->load(); }

void TKestrin::saveProjectTree() { projects_->saveOrWarn(); }
