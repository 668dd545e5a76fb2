#include "resource.h"

#include <simdjson.h>

#include <climits>
#include <cstdint>
#include <functional>
#include <set>

#include "buttons.h"
#include "choices.h"
#include "edits.h"
#include "grid.h"
#include "menus.h"
#include "navigator.h"
#include "pages.h"
#include "static_controls.h"

namespace qbk::forms {

namespace {

using Element = simdjson::dom::element;
using Object = simdjson::dom::object;
using Array = simdjson::dom::array;

using Factory = std::function<Control&(Form&, std::string, Control*)>;

template <class T>
Factory factory() {
  return [](Form& form, std::string name, Control* parent) -> Control& {
    return form.create<T>(std::move(name), parent);
  };
}

const std::map<std::string, Factory, std::less<>>& factories() {
  static const std::map<std::string, Factory, std::less<>> table = {
      {Edit::kClassName, factory<Edit>()},
      {DBEdit::kClassName, factory<DBEdit>()},
      {Label::kClassName, factory<Label>()},
      {DBText::kClassName, factory<DBText>()},
      {CheckBox::kClassName, factory<CheckBox>()},
      {DBCheckBox::kClassName, factory<DBCheckBox>()},
      {RadioButton::kClassName, factory<RadioButton>()},
      {ComboBox::kClassName, factory<ComboBox>()},
      {DBComboBox::kClassName, factory<DBComboBox>()},
      {RadioGroup::kClassName, factory<RadioGroup>()},
      {DBRadioGroup::kClassName, factory<DBRadioGroup>()},
      {PageControl::kClassName, factory<PageControl>()},
      {TabSheet::kClassName, factory<TabSheet>()},
      {Notebook::kClassName, factory<Notebook>()},
      {Page::kClassName, factory<Page>()},
      {GroupBox::kClassName, factory<GroupBox>()},
      {Panel::kClassName, factory<Panel>()},
      {CommandButton::kClassName, factory<CommandButton>()},
      {SearchButton::kClassName, factory<SearchButton>()},
      {Grid::kClassName, factory<Grid>()},
      {Navigator::kClassName, factory<Navigator>()},
      {MainMenu::kClassName, factory<MainMenu>()},
      {PopupMenu::kClassName, factory<PopupMenu>()},
      {MenuItem::kClassName, factory<MenuItem>()},
  };
  return table;
}

bool isMenu(const Control& c) {
  return dynamic_cast<const MainMenu*>(&c) || dynamic_cast<const PopupMenu*>(&c) ||
         dynamic_cast<const MenuItem*>(&c);
}

bool has(Object obj, std::string_view key) {
  return obj[key].error() == simdjson::SUCCESS;
}

const std::map<std::string_view, NavButton>& navButtonNames() {
  static const std::map<std::string_view, NavButton> names = {
      {"First", NavButton::First},     {"Prior", NavButton::Prior},   {"Next", NavButton::Next},
      {"Last", NavButton::Last},       {"Insert", NavButton::Insert}, {"Delete", NavButton::Delete},
      {"Edit", NavButton::Edit},       {"Post", NavButton::Post},     {"Cancel", NavButton::Cancel},
      {"Refresh", NavButton::Refresh},
  };
  return names;
}

const std::map<std::string_view, bool GridOptions::*>& gridOptionNames() {
  static const std::map<std::string_view, bool GridOptions::*> names = {
      {"editing", &GridOptions::editing},
      {"rowSelect", &GridOptions::rowSelect},
      {"titles", &GridOptions::titles},
      {"alwaysShowSelection", &GridOptions::alwaysShowSelection},
      {"confirmDelete", &GridOptions::confirmDelete},
      {"tabs", &GridOptions::tabs},
      {"colLines", &GridOptions::colLines},
      {"rowLines", &GridOptions::rowLines},
      {"resizable", &GridOptions::resizable},
  };
  return names;
}

const std::map<std::string_view, bool Anchors::*>& anchorSides() {
  static const std::map<std::string_view, bool Anchors::*> names = {
      {"left", &Anchors::left},
      {"top", &Anchors::top},
      {"right", &Anchors::right},
      {"bottom", &Anchors::bottom},
  };
  return names;
}

}  // namespace

// Reads one document (and, first, the documents it inherits from) into a form.
class ResourceReader {
 public:
  ResourceReader(const FormBuilder& builder, Form& form) : builder_(builder), form_(form) {}

  void apply(std::string_view json, std::vector<std::string>& chain) {
    simdjson::dom::parser parser;  // one per document: a base is read while this one lives
    const simdjson::padded_string padded(json);
    Element doc;
    if (auto error = parser.parse(padded).get(doc)) {
      fail(std::string("JSON inválido (") + simdjson::error_message(error) + ").");
    }
    Object root;
    if (doc.get_object().get(root)) fail("o documento deve ser um objeto.");

    std::string_view base;
    if (has(root, "inherit")) {
      base = text(root["inherit"].value_unsafe(), "inherit", nullptr);
      for (const auto& seen : chain) {
        if (seen == base) fail("herança circular em '" + std::string(base) + "'.");
      }
      chain.emplace_back(base);
      apply(builder_.resource(base, form_.name()), chain);
      chain.pop_back();
    }

    int bounds[4] = {form_.left(), form_.top(), form_.width(), form_.height()};
    Array controls;
    bool hasControls = false;
    for (auto [key, value] : root) {
      if (key == "class" || key == "name") {
        text(value, key, nullptr);  // the identity is the outermost document's
      } else if (key == "inherit") {
      } else if (key == "caption") {
        form_.setCaption(std::string(text(value, key, nullptr)));
      } else if (key == "left" || key == "top" || key == "width" || key == "height") {
        const int slot = key == "left" ? 0 : key == "top" ? 1 : key == "width" ? 2 : 3;
        bounds[slot] = integer(value, key, nullptr);
      } else if (key == "controls") {
        controls = array(value, key, nullptr);
        hasControls = true;
      } else {
        fail("propriedade desconhecida '" + std::string(key) + "' do formulário.");
      }
    }
    form_.setBounds(bounds[0], bounds[1], bounds[2], bounds[3]);

    if (!hasControls) return;
    std::vector<Pending> pending;
    createControls(controls, nullptr, false, pending);
    for (const Pending& p : pending) applyProperties(p);
  }

 private:
  struct Pending {
    Control* control;
    Object object;
  };

  [[noreturn]] void fail(const std::string& what) const {
    throw ResourceError("Recurso do formulário '" + form_.name() + "': " + what);
  }

  static std::string where(const Control* c) {
    return c ? " em '" + c->name() + "'" : std::string(" do formulário");
  }

  [[noreturn]] void badValue(std::string_view key, const Control* c) const {
    fail("valor inválido para '" + std::string(key) + "'" + where(c) + ".");
  }

  std::string_view text(Element v, std::string_view key, const Control* c) const {
    std::string_view s;
    if (v.get_string().get(s)) badValue(key, c);
    return s;
  }

  int integer(Element v, std::string_view key, const Control* c) const {
    int64_t n = 0;
    if (v.get_int64().get(n) || n < INT_MIN || n > INT_MAX) badValue(key, c);
    return static_cast<int>(n);
  }

  bool boolean(Element v, std::string_view key, const Control* c) const {
    bool b = false;
    if (v.get_bool().get(b)) badValue(key, c);
    return b;
  }

  Array array(Element v, std::string_view key, const Control* c) const {
    Array a;
    if (v.get_array().get(a)) badValue(key, c);
    return a;
  }

  std::vector<std::string> texts(Element v, std::string_view key, const Control* c) const {
    std::vector<std::string> out;
    for (Element e : array(v, key, c)) out.emplace_back(text(e, key, c));
    return out;
  }

  template <class T>
  T& as(Control& c, std::string_view key) const {
    if (auto* t = dynamic_cast<T*>(&c)) return *t;
    fail("a propriedade '" + std::string(key) + "' não se aplica a '" + c.name() + "' (" +
         c.className() + ").");
  }

  data::DataSource* dataSource(std::string_view name, const Control& c) const {
    auto it = builder_.dataSources_.find(name);
    if (it == builder_.dataSources_.end()) {
      fail("fonte de dados '" + std::string(name) + "' não registrada" + where(&c) + ".");
    }
    return it->second;
  }

  Control& findControl(std::string_view name, std::string_view key, const Control* c) const {
    Control* found = form_.tryFindControl(name);
    if (!found) {
      fail("controle '" + std::string(name) + "' de '" + std::string(key) + "'" + where(c) +
           " não existe.");
    }
    return *found;
  }

  // ---- structure -----------------------------------------------------------------------

  void createControls(Array list, Control* parent, bool menuItems, std::vector<Pending>& out) {
    for (Element e : list) {
      Object obj;
      if (e.get_object().get(obj)) fail("cada controle deve ser um objeto" + where(parent) + ".");
      Control* c = nullptr;
      if (has(obj, "inherited")) {
        c = &inheritedControl(obj);
      } else {
        c = &newControl(obj, parent, menuItems);
      }
      out.push_back({c, obj});
      if (has(obj, "controls")) {
        createControls(array(obj["controls"].value_unsafe(), "controls", c), c, false, out);
      }
      if (isMenu(*c) && has(obj, "items")) {
        createControls(array(obj["items"].value_unsafe(), "items", c), c, true, out);
      }
    }
  }

  Control& inheritedControl(Object obj) {
    const std::string_view name = text(obj["inherited"].value_unsafe(), "inherited", nullptr);
    Control* c = form_.tryFindControl(name);
    if (!c) fail("o controle herdado '" + std::string(name) + "' não existe.");
    if (has(obj, "class") && text(obj["class"].value_unsafe(), "class", c) != c->className()) {
      fail("o controle herdado '" + c->name() + "' é " + c->className() + ".");
    }
    if (has(obj, "parent")) fail("um controle herdado não muda de lugar ('" + c->name() + "').");
    return *c;
  }

  Control& newControl(Object obj, Control* parent, bool menuItem) {
    if (!has(obj, "name")) fail("controle sem nome" + where(parent) + ".");
    std::string name(text(obj["name"].value_unsafe(), "name", parent));
    std::string_view className = menuItem ? MenuItem::kClassName : "";
    if (has(obj, "class")) {
      className = text(obj["class"].value_unsafe(), "class", parent);
    } else if (!menuItem) {
      fail("o controle '" + name + "' não tem classe.");
    }
    if (has(obj, "parent")) {
      if (parent) fail("'parent' só vale no primeiro nível ('" + name + "').");
      parent =
          &findControl(text(obj["parent"].value_unsafe(), "parent", nullptr), "parent", nullptr);
    }
    auto it = factories().find(className);
    if (it == factories().end()) {
      fail("classe desconhecida '" + std::string(className) + "' de '" + name + "'.");
    }
    if (menuItem && className != MenuItem::kClassName) {
      fail("'" + name + "' está entre os itens de um menu, mas é " + std::string(className) + ".");
    }
    try {
      return it->second(form_, std::move(name), parent);
    } catch (const ResourceError&) {
      throw;
    } catch (const FormError& e) {
      fail(e.what());
    }
  }

  // ---- properties ----------------------------------------------------------------------

  static bool structural(std::string_view key, const Control& c) {
    return key == "class" || key == "name" || key == "inherited" || key == "parent" ||
           key == "controls" || (key == "items" && isMenu(c));
  }

  // Lists before what picks from them, so the order of keys in a document never matters.
  static bool firstPass(std::string_view key) { return key == "items" || key == "values"; }

  void applyProperties(const Pending& p) {
    Control& c = *p.control;
    for (int pass = 0; pass < 2; ++pass) {
      for (auto [key, value] : p.object) {
        if (structural(key, c) || firstPass(key) != (pass == 0)) continue;
        try {
          applyProperty(c, key, value);
        } catch (const ResourceError&) {
          throw;
        } catch (const FormError& e) {
          fail("'" + std::string(key) + "'" + where(&c) + ": " + e.what());
        }
      }
    }
  }

  void applyProperty(Control& c, std::string_view key, Element v) {
    if (key == "caption") {
      c.setCaption(std::string(text(v, key, &c)));
    } else if (key == "text") {
      c.setText(std::string(text(v, key, &c)));
    } else if (key == "hint") {
      c.setHint(std::string(text(v, key, &c)));
    } else if (key == "left") {
      c.setLeft(integer(v, key, &c));
    } else if (key == "top") {
      c.setTop(integer(v, key, &c));
    } else if (key == "width") {
      c.setWidth(integer(v, key, &c));
    } else if (key == "height") {
      c.setHeight(integer(v, key, &c));
    } else if (key == "enabled") {
      c.setEnabled(boolean(v, key, &c));
    } else if (key == "visible") {
      c.setVisible(boolean(v, key, &c));
    } else if (key == "tabOrder") {
      c.setTabOrder(integer(v, key, &c));
    } else if (key == "tag") {
      c.setTag(integer(v, key, &c));
    } else if (key == "bold") {
      c.setBold(boolean(v, key, &c));
    } else if (key == "anchors") {
      c.setAnchors(anchors(v, c));
    } else if (key == "maxLength") {
      as<Edit>(c, key).setMaxLength(integer(v, key, &c));
    } else if (key == "editMask") {
      as<Edit>(c, key).setEditMask(std::string(text(v, key, &c)));
    } else if (key == "readOnly") {
      if (auto* grid = dynamic_cast<Grid*>(&c)) {
        grid->setReadOnly(boolean(v, key, &c));
      } else {
        as<Edit>(c, key).setReadOnly(boolean(v, key, &c));
      }
    } else if (key == "checked") {
      applyChecked(c, boolean(v, key, &c));
    } else if (key == "items") {
      if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
        combo->setItems(texts(v, key, &c));
      } else {
        as<RadioGroup>(c, key).setItems(texts(v, key, &c));
      }
    } else if (key == "values") {
      as<DBRadioGroup>(c, key).setValues(texts(v, key, &c));
    } else if (key == "itemIndex") {
      if (auto* combo = dynamic_cast<ComboBox*>(&c)) {
        combo->setItemIndex(integer(v, key, &c));
      } else {
        as<RadioGroup>(c, key).setItemIndex(integer(v, key, &c));
      }
    } else if (key == "valueChecked") {
      as<DBCheckBox>(c, key).setValueChecked(std::string(text(v, key, &c)));
    } else if (key == "valueUnchecked") {
      as<DBCheckBox>(c, key).setValueUnchecked(std::string(text(v, key, &c)));
    } else if (key == "dataSource") {
      const std::string_view name = text(v, key, &c);
      if (auto* search = dynamic_cast<SearchButton*>(&c))
        search->setDataSourceName(std::string(name));
      as<DataAware>(c, key).setDataSource(dataSource(name, c));
    } else if (key == "dataField") {
      as<FieldAware>(c, key).setDataField(std::string(text(v, key, &c)));
    } else if (key == "activePage") {
      auto& pages = as<PageControl>(c, key);
      auto* page = dynamic_cast<TabSheet*>(&findControl(text(v, key, &c), key, &c));
      if (!page) badValue(key, &c);
      pages.setActivePage(page);
    } else if (key == "pageIndex") {
      as<Notebook>(c, key).setPageIndex(integer(v, key, &c));
    } else if (key == "tabVisible") {
      as<TabSheet>(c, key).setTabVisible(boolean(v, key, &c));
    } else if (key == "shortcut") {
      as<MenuItem>(c, key).setShortcut(text(v, key, &c));
    } else if (key == "glyph") {
      as<CommandButton>(c, key).setGlyph(std::string(text(v, key, &c)));
    } else if (key == "menuItem") {
      auto& button = as<CommandButton>(c, key);
      auto* item = dynamic_cast<MenuItem*>(&findControl(text(v, key, &c), key, &c));
      if (!item) badValue(key, &c);
      button.setMenuItem(item);
    } else if (key == "columns") {
      as<Grid>(c, key).setColumns(columns(v, c));
    } else if (key == "options") {
      as<Grid>(c, key).setOptions(gridOptions(v, c));
    } else if (key == "visibleButtons") {
      as<Navigator>(c, key).setVisibleButtons(navButtons(v, c));
    } else if (key == "confirmDelete") {
      as<Navigator>(c, key).setConfirmDelete(boolean(v, key, &c));
    } else if (key == "associate") {
      auto& search = as<SearchButton>(c, key);
      search.setAssociate(findControl(text(v, key, &c), key, &c).name());
    } else if (key == "title") {
      as<SearchButton>(c, key).setTitle(std::string(text(v, key, &c)));
    } else if (key == "emptyMessage") {
      as<SearchButton>(c, key).setEmptyMessage(std::string(text(v, key, &c)));
    } else {
      fail("propriedade desconhecida '" + std::string(key) + "'" + where(&c) + ".");
    }
  }

  void applyChecked(Control& c, bool value) {
    if (auto* box = dynamic_cast<CheckBox*>(&c)) {
      box->setChecked(value);
    } else if (auto* radio = dynamic_cast<RadioButton*>(&c)) {
      radio->setChecked(value);
    } else {
      as<MenuItem>(c, "checked").setChecked(value);
    }
  }

  std::vector<GridColumn> columns(Element v, Control& c) const {
    std::vector<GridColumn> out;
    for (Element e : array(v, "columns", &c)) {
      Object obj;
      if (e.get_object().get(obj)) badValue("columns", &c);
      GridColumn column;
      bool named = false;
      for (auto [key, value] : obj) {
        if (key == "fieldName") {
          column.fieldName = text(value, key, &c);
          named = true;
        } else if (key == "title") {
          column.title = text(value, key, &c);
        } else if (key == "width") {
          column.width = integer(value, key, &c);
        } else if (key == "visible") {
          column.visible = boolean(value, key, &c);
        } else {
          fail("propriedade de coluna desconhecida '" + std::string(key) + "'" + where(&c) + ".");
        }
      }
      if (!named) fail("coluna sem 'fieldName'" + where(&c) + ".");
      out.push_back(std::move(column));
    }
    return out;
  }

  GridOptions gridOptions(Element v, Control& c) const {
    GridOptions options;
    for (const auto& [name, member] : gridOptionNames()) options.*member = false;
    for (Element e : array(v, "options", &c)) {
      const std::string_view name = text(e, "options", &c);
      auto it = gridOptionNames().find(name);
      if (it == gridOptionNames().end()) {
        fail("opção de grade desconhecida '" + std::string(name) + "'" + where(&c) + ".");
      }
      options.*(it->second) = true;
    }
    return options;
  }

  Anchors anchors(Element v, Control& c) const {
    Anchors out{.left = false, .top = false, .right = false, .bottom = false};
    for (Element e : array(v, "anchors", &c)) {
      const std::string_view side = text(e, "anchors", &c);
      auto it = anchorSides().find(side);
      if (it == anchorSides().end()) {
        fail("lado de ancoragem desconhecido '" + std::string(side) + "'" + where(&c) + ".");
      }
      out.*(it->second) = true;
    }
    return out;
  }

  std::set<NavButton> navButtons(Element v, Control& c) const {
    std::set<NavButton> out;
    for (Element e : array(v, "visibleButtons", &c)) {
      const std::string_view name = text(e, "visibleButtons", &c);
      auto it = navButtonNames().find(name);
      if (it == navButtonNames().end()) {
        fail("botão de navegador desconhecido '" + std::string(name) + "'" + where(&c) + ".");
      }
      out.insert(it->second);
    }
    return out;
  }

  const FormBuilder& builder_;
  Form& form_;
};

void FormBuilder::addDataSource(std::string name, data::DataSource* source) {
  dataSources_[std::move(name)] = source;
}

void FormBuilder::addResource(std::string name, std::string json) {
  resources_[std::move(name)] = std::move(json);
}

const std::string& FormBuilder::resource(std::string_view name, std::string_view from) const {
  auto it = resources_.find(name);
  if (it == resources_.end()) {
    throw ResourceError("Recurso do formulário '" + std::string(from) + "': recurso base '" +
                        std::string(name) + "' não registrado.");
  }
  return it->second;
}

std::unique_ptr<Form> FormBuilder::build(std::string_view json) const {
  // The outermost document names the screen; its bases only add to it.
  std::string className = "TForm";
  std::string name;
  {
    simdjson::dom::parser parser;
    const simdjson::padded_string padded(json);
    Element doc;
    Object root;
    if (!parser.parse(padded).get(doc) && !doc.get_object().get(root)) {
      std::string_view s;
      if (!root["class"].get_string().get(s)) className = s;
      if (!root["name"].get_string().get(s)) name = s;
    }
  }
  auto form = std::make_unique<Form>(std::move(className), std::move(name));
  ResourceReader reader(*this, *form);
  std::vector<std::string> chain;
  reader.apply(json, chain);
  return form;
}

std::unique_ptr<Form> FormBuilder::buildResource(std::string_view name) const {
  return build(resource(name, name));
}

}  // namespace qbk::forms
