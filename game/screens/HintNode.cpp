#include "game/screens/HintNode.h"

#include "game/screens/SceneChildren.h"

void GHintNode::OnLoaded() {
    BaseNode::OnLoaded();
    m_title = findChildOf<TextNode>(this, "Title");
    m_text = findChildOf<TextNode>(this, "Text");
    m_arrow = findChildOf(this, "Arrow");
    m_arrowLeft = findChildOf(this, "ArrowL");
    m_arrowRight = findChildOf(this, "ArrowR");
    setVisible(false);
}
