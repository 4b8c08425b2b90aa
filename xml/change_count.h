// Bumping the change count (see ChangeCount in xml/node.h). Included only by xml/
// sources: every change to a tree made here goes through NoteChange first.
#ifndef ZARN_XML_CHANGE_COUNT_H_
#define ZARN_XML_CHANGE_COUNT_H_

namespace zarn::xml {

void NoteChange();

}  // namespace zarn::xml

#endif  // ZARN_XML_CHANGE_COUNT_H_
