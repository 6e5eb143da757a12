#include "platform/resource.h"

namespace platform {
namespace {

Node MakeControl(int id, ControlKind kind, std::string caption, unsigned style) {
    Node n;
    n.type = Node::Type::Control;
    n.control.id = id;
    n.control.kind = kind;
    n.control.caption = std::move(caption);
    n.control.style = style;
    return n;
}

Node MakeContainer(Node::Type type, std::vector<Node> children) {
    Node n;
    n.type = type;
    n.children = std::move(children);
    return n;
}

}  // namespace

Node Node::Chars(int width) const {
    Node n = *this;
    n.control.width_chars = width;
    return n;
}

Node Node::Lines(int height) const {
    Node n = *this;
    n.control.height_lines = height;
    return n;
}

Node Static(int id, std::string caption, unsigned style) {
    return MakeControl(id, ControlKind::Static, std::move(caption), style);
}
Node Label(std::string caption) {
    return Static(IDC_STATIC, std::move(caption));
}
Node IconStatic(int id, Picture picture, unsigned style) {
    Node n = MakeControl(id, ControlKind::Static, "", style);
    n.control.picture = picture;
    return n;
}
Node Edit(int id, unsigned style) {
    return MakeControl(id, ControlKind::Edit, "", style);
}
Node Button(int id, std::string caption, unsigned style) {
    return MakeControl(id, ControlKind::Button, std::move(caption), style);
}
Node CheckBox(int id, std::string caption, unsigned style) {
    return MakeControl(id, ControlKind::CheckBox, std::move(caption), style);
}
Node Radio(int id, std::string caption, unsigned style) {
    return MakeControl(id, ControlKind::Radio, std::move(caption), style);
}
Node ListBox(int id, unsigned style) {
    return MakeControl(id, ControlKind::ListBox, "", style);
}
Node ComboBox(int id, unsigned style) {
    return MakeControl(id, ControlKind::ComboBox, "", style);
}
Node ScrollBar(int id, unsigned style) {
    return MakeControl(id, ControlKind::ScrollBar, "", style);
}
Node UpDown(int id, unsigned style) {
    return MakeControl(id, ControlKind::UpDown, "", style);
}

Node Group(int id, std::string caption, std::vector<Node> children, unsigned style) {
    Node n = MakeContainer(Node::Type::Group, std::move(children));
    n.control.id = id;
    n.control.kind = ControlKind::GroupBox;
    n.control.caption = std::move(caption);
    n.control.style = style;
    return n;
}
Node Part(std::vector<Node> children) {
    return MakeContainer(Node::Type::Part, std::move(children));
}
Node Row(std::vector<Node> children) {
    return MakeContainer(Node::Type::Row, std::move(children));
}
Node Column(std::vector<Node> children) {
    return MakeContainer(Node::Type::Column, std::move(children));
}
Node Stretch() {
    return MakeContainer(Node::Type::Stretch, {});
}

}  // namespace platform
