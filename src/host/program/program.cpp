#include "davodu/host/program/program.h"

#include <lua5.4/lauxlib.h>
#include <lua5.4/lua.h>
#include <lua5.4/lualib.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_shapes.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

namespace {

constexpr const char* kProgramTag = "Program";
// Instructions between two looks at the budget.
constexpr int kHookStep = 1000;
// Drawing objects one run may make: beyond it the run stops, whatever
// memory the program itself still has.
constexpr std::size_t kMaxObjects = 200'000;

bool IsIdentifier(const std::string& s) {
  if (s.empty() || !(std::isalpha(static_cast<unsigned char>(s[0])) || s[0] == '_')) return false;
  for (char c : s)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return true;
}

}  // namespace

// The Lua state of one run, its budget and its memory account.
class CProgram::Run_ {
 public:
  explicit Run_(CProgram* program) : program_(program) {}
  ~Run_() {
    if (L_ != nullptr) lua_close(L_);
  }
  Run_(const Run_&) = delete;
  Run_& operator=(const Run_&) = delete;

  // Makes the state and compiles the program; false (stopped) on failure.
  bool Start();
  bool RunRecord();
  bool stopped() const { return stopped_; }
  std::int64_t instructions() const { return instructions_; }

 private:
  static void* Alloc(void* ud, void* ptr, std::size_t osize, std::size_t nsize);
  static void Hook(lua_State* L, lua_Debug* ar);
  static Run_* Of(lua_State* L) { return *static_cast<Run_**>(lua_getextraspace(L)); }
  void Stop(const std::string& message);
  void OpenSandbox();
  void Register();
  void SetGlobals();

  // Functions the program calls.
  static int LPrint(lua_State* L);
  static int LLoad(lua_State* L);
  static int LField(lua_State* L);
  static int LFields(lua_State* L);
  static int LRecordIndex(lua_State* L);
  static int LDepthY(lua_State* L);
  static int LLine(lua_State* L);
  static int LHLine(lua_State* L);
  static int LVLine(lua_State* L);
  static int LCurve(lua_State* L);
  static int LRectFill(lua_State* L);
  static int LPolygon(lua_State* L);
  static int LText(lua_State* L);
  static int LPoint(lua_State* L);
  static int LCircle(lua_State* L);

  // Pushes a field of record i (nil when there is none).
  void PushField(lua_State* L, int i, const char* name);
  // Raises the Lua error that stops adding n points, if any.
  void CheckRoom(lua_State* L, const FLOATPOINT* points, std::size_t n);
  // Makes a drawing object in the layer; call only after CheckRoom.
  template <class T>
  T* Add(const FLOATPOINT* points, std::size_t n);

  CProgram* program_;
  lua_State* L_ = nullptr;
  std::size_t memory_ = 0;
  std::int64_t instructions_ = 0;
  std::size_t objects_ = 0;
  bool stopped_ = false;
  int chunk_ = LUA_NOREF;
  std::string chunk_name_;
};

// ---------------------------------------------------------------- styles
//
// Lua reports errors by a long jump (the library is C), which skips C++
// destructors. So the functions a program calls read every argument first,
// into plain values (texts stay on the Lua stack), and only then, when no
// Lua call can fail any more, make C++ objects.

namespace {

// "#RRGGBB" or a number 0xBBGGRR.
COLORREF ColorArg(lua_State* L, int index, COLORREF fallback) {
  if (lua_type(L, index) == LUA_TNUMBER) return static_cast<COLORREF>(lua_tointeger(L, index));
  if (lua_type(L, index) != LUA_TSTRING) return fallback;
  std::size_t n = 0;
  const char* s = lua_tolstring(L, index, &n);
  unsigned v = 0;
  if (n != 7 || s[0] != '#' || std::from_chars(s + 1, s + 7, v, 16).ptr != s + 7)
    luaL_error(L, "'%s' is not a colour #RRGGBB", s);
  return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

struct Code {
  const char* name;
  int code;
};

// The style table of a drawing call (at index, or none). Fields are read
// raw: a metatable of the style table is not consulted.
struct Style {
  lua_State* L;
  int index;  // 0: no style table

  // Pushes the field (nil without a table).
  int Push(const char* key) const {
    if (index == 0) {
      lua_pushnil(L);
      return LUA_TNIL;
    }
    lua_pushstring(L, key);
    return lua_rawget(L, index);
  }
  bool Has(const char* key) const {
    const bool has = Push(key) != LUA_TNIL;
    lua_pop(L, 1);
    return has;
  }
  double Number(const char* key, double fallback) const {
    double v = fallback;
    if (Push(key) == LUA_TNUMBER) v = lua_tonumber(L, -1);
    lua_pop(L, 1);
    return std::isfinite(v) ? v : fallback;
  }
  COLORREF Color(const char* key, COLORREF fallback) const {
    Push(key);
    const COLORREF c = ColorArg(L, -1, fallback);
    lua_pop(L, 1);
    return c;
  }
  bool Bool(const char* key, bool fallback) const {
    const bool v = Push(key) == LUA_TNIL ? fallback : lua_toboolean(L, -1) != 0;
    lua_pop(L, 1);
    return v;
  }
  // The code of a name among codes; fallback for none or an unknown name.
  int Named(const char* key, std::initializer_list<Code> codes, int fallback) const {
    int v = fallback;
    if (Push(key) == LUA_TSTRING) {
      const char* s = lua_tostring(L, -1);
      for (const Code& c : codes)
        if (std::strcmp(s, c.name) == 0) v = c.code;
    }
    lua_pop(L, 1);
    return v;
  }
  // A text field, left on the stack while the pointer is used; null when
  // it is not a text (a nil is pushed then).
  const char* KeepText(const char* key) const {
    return Push(key) == LUA_TSTRING ? lua_tostring(L, -1) : nullptr;
  }

  ZULOGPEN Pen() const {
    ZULOGPEN pen;
    pen.color = Color("color", 0);
    pen.width = static_cast<float>(std::max(0.0, Number("width", 0)));
    pen.style = Named("dash", {{"dash", kPenDash}, {"dot", kPenDot}, {"dashdot", kPenDashDot}},
                      kPenSolid);
    return pen;
  }
  ZULOGBRUSH Brush(COLORREF fallback) const {
    ZULOGBRUSH brush;
    brush.color = Color("fill", fallback);
    brush.style = Named("pattern",
                        {{"horizontal", kBrushHatchHorizontal}, {"vertical", kBrushHatchVertical},
                         {"fdiagonal", kBrushHatchFDiagonal}, {"bdiagonal", kBrushHatchBDiagonal},
                         {"cross", kBrushHatchCross}, {"diagcross", kBrushHatchDiagCross}},
                        kBrushDefaultSolid);
    return brush;
  }
};

Style StyleAt(lua_State* L, int index) {
  if (lua_gettop(L) < index || lua_isnil(L, index)) return Style{L, 0};
  luaL_checktype(L, index, LUA_TTABLE);
  return Style{L, lua_absindex(L, index)};
}

// A flat list {x1, y1, x2, y2, ...} of map points, copied into a buffer
// the Lua collector owns (pushed on the stack). Sets *count.
FLOATPOINT* PointList(lua_State* L, int index, std::size_t* count) {
  luaL_checktype(L, index, LUA_TTABLE);
  const lua_Integer n = luaL_len(L, index);
  if (n % 2 != 0 || n < 0)
    luaL_error(L, "a point list holds x and y in turn (it has %d numbers)", static_cast<int>(n));
  if (n / 2 > 1'000'000) luaL_error(L, "a point list of more than a million points");
  *count = static_cast<std::size_t>(n / 2);
  auto* points = static_cast<FLOATPOINT*>(lua_newuserdatauv(L, sizeof(FLOATPOINT) * (*count + 1), 0));
  for (std::size_t i = 0; i < *count; ++i) {
    lua_geti(L, index, static_cast<lua_Integer>(2 * i + 1));
    lua_geti(L, index, static_cast<lua_Integer>(2 * i + 2));
    points[i] = FLOATPOINT{luaL_checknumber(L, -2), luaL_checknumber(L, -1)};
    lua_pop(L, 2);
  }
  return points;
}

}  // namespace

// ---------------------------------------------------------------- the run

void* CProgram::Run_::Alloc(void* ud, void* ptr, std::size_t osize, std::size_t nsize) {
  auto* run = static_cast<Run_*>(ud);
  const std::size_t old = ptr != nullptr ? osize : 0;
  if (nsize == 0) {
    std::free(ptr);
    run->memory_ -= old;
    return nullptr;
  }
  if (nsize > old && run->memory_ + (nsize - old) > run->program_->memory_limit_) return nullptr;
  void* p = std::realloc(ptr, nsize);
  if (p != nullptr) run->memory_ = run->memory_ - old + nsize;
  return p;
}

void CProgram::Run_::Hook(lua_State* L, lua_Debug*) {
  Run_* run = Of(L);
  run->instructions_ += kHookStep;
  if (run->instructions_ > run->program_->budget_)
    luaL_error(L, "stopped after %I instructions (the budget of one run)",
               static_cast<lua_Integer>(run->program_->budget_));
}

void CProgram::Run_::Stop(const std::string& message) {
  stopped_ = true;
  program_->log_.Add("program '" + GbkToUtf8(program_->name_) + "': " + GbkToUtf8(message));
}

void CProgram::Run_::OpenSandbox() {
  static constexpr luaL_Reg kLibraries[] = {{LUA_GNAME, luaopen_base},
                                            {LUA_TABLIBNAME, luaopen_table},
                                            {LUA_STRLIBNAME, luaopen_string},
                                            {LUA_MATHLIBNAME, luaopen_math},
                                            {LUA_UTF8LIBNAME, luaopen_utf8}};
  for (const luaL_Reg& lib : kLibraries) {
    luaL_requiref(L_, lib.name, lib.func, 1);
    lua_pop(L_, 1);
  }
  // Nothing that reaches files, the system or other code.
  for (const char* name : {"dofile", "loadfile", "require", "collectgarbage"}) {
    lua_pushnil(L_);
    lua_setglobal(L_, name);
  }
  lua_getglobal(L_, LUA_STRLIBNAME);
  lua_pushnil(L_);
  lua_setfield(L_, -2, "dump");
  lua_pop(L_, 1);
  lua_pushcfunction(L_, LLoad);
  lua_setglobal(L_, "load");
  lua_pushcfunction(L_, LPrint);
  lua_setglobal(L_, "print");
}

void CProgram::Run_::Register() {
  static constexpr luaL_Reg kFunctions[] = {
      {"field", LField},         {"fields", LFields},   {"depth_y", LDepthY},
      {"line", LLine},           {"hline", LHLine},     {"vline", LVLine},
      {"curve", LCurve},         {"rect_fill", LRectFill}, {"polygon", LPolygon},
      {"text", LText},           {"point", LPoint},     {"circle", LCircle}};
  for (const luaL_Reg& f : kFunctions) {
    lua_pushcfunction(L_, f.func);
    lua_setglobal(L_, f.name);
  }
  // record[name]: a field of the current record.
  lua_newtable(L_);
  lua_newtable(L_);
  lua_pushcfunction(L_, LRecordIndex);
  lua_setfield(L_, -2, "__index");
  lua_setmetatable(L_, -2);
  lua_setglobal(L_, "record");
}

bool CProgram::Run_::Start() {
  L_ = lua_newstate(Alloc, this);
  if (L_ == nullptr) {
    Stop("cannot start the program engine");
    return false;
  }
  *static_cast<Run_**>(lua_getextraspace(L_)) = this;
  lua_sethook(L_, Hook, LUA_MASKCOUNT, kHookStep);
  chunk_name_ = "=" + (program_->name_.empty() ? std::string("program") : program_->name_);
  // Everything that may fail (for want of memory, or a program that does
  // not compile) runs protected.
  lua_pushcfunction(L_, [](lua_State* L) {
    Run_* run = Of(L);
    run->OpenSandbox();
    run->Register();
    const std::string& source = run->program_->source_;
    if (luaL_loadbufferx(L, source.data(), source.size(), run->chunk_name_.c_str(), "t") != LUA_OK)
      return lua_error(L);
    run->chunk_ = luaL_ref(L, LUA_REGISTRYINDEX);
    return 0;
  });
  if (lua_pcall(L_, 0, 0, 0) != LUA_OK) {
    Stop(lua_tostring(L_, -1) ? lua_tostring(L_, -1) : "cannot start the program (out of memory)");
    return false;
  }
  return true;
}

void CProgram::Run_::SetGlobals() {
  lua_newtable(L_);
  for (const auto& [name, value] : program_->values_) {
    lua_pushnumber(L_, value);
    lua_setfield(L_, -2, name.c_str());
    if (IsIdentifier(name)) {
      lua_pushnumber(L_, value);
      lua_setglobal(L_, name.c_str());
    }
  }
  lua_setglobal(L_, "runtime");
  lua_pushinteger(L_, program_->index_);
  lua_setglobal(L_, "index");
  lua_pushstring(L_, program_->well_.c_str());
  lua_setglobal(L_, "well");
  double top = 0, bottom = 0;
  ProgramData* data = program_->data_;
  if (data && data->GetDepths(program_->index_, &top, &bottom)) {
    lua_pushnumber(L_, top);
    lua_setglobal(L_, "top");
    lua_pushnumber(L_, bottom);
    lua_setglobal(L_, "bottom");
  } else {
    lua_pushnil(L_);
    lua_setglobal(L_, "top");
    lua_pushnil(L_);
    lua_setglobal(L_, "bottom");
  }
}

bool CProgram::Run_::RunRecord() {
  if (stopped_) return false;
  lua_pushcfunction(L_, [](lua_State* L) {
    Of(L)->SetGlobals();
    return 0;
  });
  if (lua_pcall(L_, 0, 0, 0) != LUA_OK) {
    Stop(lua_tostring(L_, -1) ? lua_tostring(L_, -1) : "out of memory");
    return false;
  }
  lua_rawgeti(L_, LUA_REGISTRYINDEX, chunk_);
  if (lua_pcall(L_, 0, 0, 0) != LUA_OK) {
    const char* why = lua_tostring(L_, -1);
    Stop(why ? why : "the program failed (out of memory?)");
    lua_pop(L_, 1);
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- functions

void CProgram::Run_::CheckRoom(lua_State* L, const FLOATPOINT* points, std::size_t n) {
  if (!program_->layer_) luaL_error(L, "the program has no layer to draw in");
  if (objects_ >= kMaxObjects)
    luaL_error(L, "stopped after %d drawing objects (the most one run may make)",
               static_cast<int>(kMaxObjects));
  for (std::size_t i = 0; i < n; ++i)
    if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y))
      luaL_error(L, "a point is not a finite number");
}

template <class T>
T* CProgram::Run_::Add(const FLOATPOINT* points, std::size_t n) {
  ++objects_;
  auto* obj = new T(program_->layer_);
  obj->SetPoints(std::vector<FLOATPOINT>(points, points + n));
  program_->layer_->AddObject(obj);
  return obj;
}

int CProgram::Run_::LPrint(lua_State* L) {
  const int n = lua_gettop(L);
  luaL_Buffer b;
  luaL_buffinit(L, &b);
  for (int i = 1; i <= n; ++i) {
    if (i > 1) luaL_addchar(&b, '\t');
    luaL_tolstring(L, i, nullptr);
    luaL_addvalue(&b);
  }
  luaL_pushresult(&b);
  Of(L)->program_->log_.Add(GbkToUtf8(lua_tostring(L, -1)));
  return 0;
}

// load(text [, name]): text chunks only.
int CProgram::Run_::LLoad(lua_State* L) {
  std::size_t n = 0;
  const char* text = luaL_checklstring(L, 1, &n);
  const char* name = luaL_optstring(L, 2, "=load");
  if (luaL_loadbufferx(L, text, n, name, "t") != LUA_OK) {
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
  }
  return 1;
}

// Pushes a field of record i (nil when there is none).
void CProgram::Run_::PushField(lua_State* L, int i, const char* name) {
  ProgramData* data = program_->data_;
  ProgramData::Value v;
  if (!data || !data->GetField(i, name, &v)) {
    lua_pushnil(L);
  } else if (v.is_number) {
    lua_pushnumber(L, v.number);
  } else {
    lua_pushlstring(L, v.text.data(), v.text.size());
  }
}

int CProgram::Run_::LField(lua_State* L) {
  Run_* run = Of(L);
  const char* name = luaL_checkstring(L, 1);
  const int i = static_cast<int>(luaL_optinteger(L, 2, run->program_->index_));
  run->PushField(L, i, name);
  return 1;
}

int CProgram::Run_::LFields(lua_State* L) {
  Run_* run = Of(L);
  lua_newtable(L);
  if (ProgramData* data = run->program_->data_) {
    const std::vector<std::string>& names = data->GetFieldNames();
    for (std::size_t k = 0; k < names.size(); ++k) {
      lua_pushlstring(L, names[k].data(), names[k].size());
      lua_rawseti(L, -2, static_cast<lua_Integer>(k + 1));
    }
  }
  return 1;
}

int CProgram::Run_::LRecordIndex(lua_State* L) {
  Run_* run = Of(L);
  if (lua_type(L, 2) == LUA_TSTRING)
    run->PushField(L, run->program_->index_, lua_tostring(L, 2));
  else
    lua_pushnil(L);
  return 1;
}

int CProgram::Run_::LDepthY(lua_State* L) {
  Run_* run = Of(L);
  const double depth = luaL_checknumber(L, 1);
  ProgramData* data = run->program_->data_;
  if (!data) luaL_error(L, "the program has no depth scale");
  lua_pushnumber(L, data->DepthToMapY(depth));
  return 1;
}

int CProgram::Run_::LLine(lua_State* L) {
  Run_* run = Of(L);
  const FLOATPOINT p[2] = {{luaL_checknumber(L, 1), luaL_checknumber(L, 2)},
                           {luaL_checknumber(L, 3), luaL_checknumber(L, 4)}};
  const ZULOGPEN pen = StyleAt(L, 5).Pen();
  run->CheckRoom(L, p, 2);
  run->Add<CZuObjectLine>(p, 2)->pen = pen;
  return 0;
}

// hline(y [, style]): across the column, from x0 to x1.
int CProgram::Run_::LHLine(lua_State* L) {
  Run_* run = Of(L);
  const double y = luaL_checknumber(L, 1);
  const ZULOGPEN pen = StyleAt(L, 2).Pen();
  const double x0 = run->program_->ValueOr("x0", 0), x1 = run->program_->ValueOr("x1", 0);
  const FLOATPOINT p[2] = {{x0, y}, {x1, y}};
  run->CheckRoom(L, p, 2);
  run->Add<CZuObjectLine>(p, 2)->pen = pen;
  return 0;
}

// vline(x, y_top, y_bottom [, style]).
int CProgram::Run_::LVLine(lua_State* L) {
  Run_* run = Of(L);
  const double x = luaL_checknumber(L, 1);
  const FLOATPOINT p[2] = {{x, luaL_checknumber(L, 2)}, {x, luaL_checknumber(L, 3)}};
  const ZULOGPEN pen = StyleAt(L, 4).Pen();
  run->CheckRoom(L, p, 2);
  run->Add<CZuObjectLine>(p, 2)->pen = pen;
  return 0;
}

int CProgram::Run_::LCurve(lua_State* L) {
  Run_* run = Of(L);
  std::size_t n = 0;
  const ZULOGPEN pen = StyleAt(L, 2).Pen();
  const FLOATPOINT* p = PointList(L, 1, &n);
  if (n < 2) return 0;
  run->CheckRoom(L, p, n);
  run->Add<CZuObjectLine>(p, n)->pen = pen;
  return 0;
}

namespace {

struct FillStyle {
  ZULOGBRUSH brush;
  bool outlined;
  ZULOGPEN pen;
};

FillStyle ReadFillStyle(const Style& style) {
  return {style.Brush(RGB(192, 192, 192)), style.Has("color") || style.Has("width"), style.Pen()};
}

void Apply(const FillStyle& style, CZuObjectFill* fill) {
  fill->brush = style.brush;
  fill->outlined = style.outlined;
  fill->pen = style.pen;
}

}  // namespace

// rect_fill(x_left, y_top, x_right, y_bottom [, style]).
int CProgram::Run_::LRectFill(lua_State* L) {
  Run_* run = Of(L);
  const double l = luaL_checknumber(L, 1), t = luaL_checknumber(L, 2);
  const double r = luaL_checknumber(L, 3), b = luaL_checknumber(L, 4);
  const FillStyle style = ReadFillStyle(StyleAt(L, 5));
  const FLOATPOINT p[4] = {{l, t}, {r, t}, {r, b}, {l, b}};
  run->CheckRoom(L, p, 4);
  Apply(style, run->Add<CZuObjectFill>(p, 4));
  return 0;
}

int CProgram::Run_::LPolygon(lua_State* L) {
  Run_* run = Of(L);
  const FillStyle style = ReadFillStyle(StyleAt(L, 2));
  std::size_t n = 0;
  const FLOATPOINT* p = PointList(L, 1, &n);
  if (n < 3) return 0;
  run->CheckRoom(L, p, n);
  Apply(style, run->Add<CZuObjectFill>(p, n));
  return 0;
}

int CProgram::Run_::LText(lua_State* L) {
  Run_* run = Of(L);
  const FLOATPOINT p[1] = {{luaL_checknumber(L, 1), luaL_checknumber(L, 2)}};
  const Style style = StyleAt(L, 4);
  const COLORREF color = style.Color("color", 0);
  const double size = std::max(1.0, style.Number("size", 300));
  const bool bold = style.Bool("bold", false);
  const double angle = style.Number("angle", 0) * std::numbers::pi / 180;
  const int align_h = style.Named("align", {{"center", 1}, {"right", 2}}, 0);
  const int align_v = style.Named("valign", {{"middle", 1}, {"bottom", 2}}, 0);
  const char* text = luaL_tolstring(L, 3, nullptr);  // stays on the stack
  const char* face = style.KeepText("face");          // stays on the stack
  run->CheckRoom(L, p, 1);
  auto* obj = run->Add<CZuObjectText>(p, 1);
  obj->text = text;
  obj->font.color = color;
  obj->font.height = static_cast<float>(size);
  obj->font.weight = bold ? 700 : 400;
  obj->font.SetFaceName(face ? std::string(face) : Gbk("宋体"));
  obj->angle = angle;
  obj->align_h = align_h;
  obj->align_v = align_v;
  return 0;
}

int CProgram::Run_::LPoint(lua_State* L) {
  Run_* run = Of(L);
  const FLOATPOINT p[1] = {{luaL_checknumber(L, 1), luaL_checknumber(L, 2)}};
  const Style style = StyleAt(L, 3);
  ZULOGPOINT symbol;
  symbol.color = style.Color("color", 0);
  symbol.size = static_cast<float>(std::max(1.0, style.Number("size", 100)));
  symbol.style = style.Named("symbol",
                             {{"dot", kPointDot}, {"circle", kPointCircle}, {"square", kPointSquare},
                              {"triangle", kPointTriangle}, {"cross", kPointCross}, {"x", kPointX},
                              {"diamond", kPointDiamond}, {"disc", kPointFilledCircle},
                              {"star", kPointStar}},
                             kPointFilledCircle);
  run->CheckRoom(L, p, 1);
  run->Add<CZuObjectPoint>(p, 1)->symbol = symbol;
  return 0;
}

int CProgram::Run_::LCircle(lua_State* L) {
  Run_* run = Of(L);
  const FLOATPOINT p[1] = {{luaL_checknumber(L, 1), luaL_checknumber(L, 2)}};
  const double r = std::fabs(luaL_checknumber(L, 3));
  const Style style = StyleAt(L, 4);
  const ZULOGPEN pen = style.Pen();
  const bool filled = style.Has("fill");
  const ZULOGBRUSH brush = style.Brush(0);
  run->CheckRoom(L, p, 1);
  auto* obj = run->Add<CZuObjectCircle>(p, 1);
  obj->radius = std::isfinite(r) ? r : 0;
  obj->pen = pen;
  obj->filled = filled;
  obj->brush = brush;
  return 0;
}

// ---------------------------------------------------------------- CProgram

CProgram::CProgram() = default;
CProgram::~CProgram() = default;

CProgram::CProgram(const CProgram& other) { *this = other; }

CProgram& CProgram::operator=(const CProgram& other) {
  if (this == &other) return *this;
  End();
  name_ = other.name_;
  table_ = other.table_;
  source_ = other.source_;
  stamp_ = other.stamp_;
  suspended_ = other.suspended_;
  declared_ = other.declared_;
  budget_ = other.budget_;
  memory_limit_ = other.memory_limit_;
  return *this;
}

void CProgram::Clear() {
  End();
  name_.clear();
  table_.clear();
  source_.clear();
  stamp_ = 0;
  suspended_ = false;
  declared_.clear();
  values_.clear();
  log_.Clear();
  data_ = nullptr;
  layer_ = nullptr;
  index_ = -1;
}

void CProgram::SetTableName(const std::string& table) {
  if (table == table_) return;
  table_ = table;
  stamp_ = AfxGetTimeStamp();
}

void CProgram::SetSource(const std::string& source) {
  if (source == source_) return;
  source_ = source;
  stamp_ = AfxGetTimeStamp();
}

void CProgram::AddData(const std::string& text, const std::string& name, int) {
  declared_.emplace_back(text, name);
}

void CProgram::SetLimits(std::int64_t instructions, std::size_t memory_bytes) {
  budget_ = instructions > 0 ? instructions : kDefaultInstructionBudget;
  memory_limit_ = memory_bytes > 0 ? memory_bytes : kDefaultMemoryLimit;
}

void CProgram::SetValueAtRuntime(const std::string& name, double value) { values_[name] = value; }

bool CProgram::Run() {
  if (suspended_) return false;
  if (!run_) {
    run_ = std::make_unique<Run_>(this);
    if (!run_->Start()) return false;
  }
  const bool ok = run_->RunRecord();
  used_ = run_->instructions();
  return ok;
}

void CProgram::End() { run_.reset(); }

bool CProgram::Compile(std::string* error) const {
  lua_State* L = luaL_newstate();
  if (L == nullptr) {
    if (error) *error = "cannot start the program engine";
    return false;
  }
  const std::string chunk_name = "=" + (name_.empty() ? std::string("program") : name_);
  const bool ok = luaL_loadbufferx(L, source_.data(), source_.size(), chunk_name.c_str(), "t") == LUA_OK;
  if (!ok && error) *error = GbkToUtf8(lua_tostring(L, -1) ? lua_tostring(L, -1) : "cannot compile");
  lua_close(L);
  return ok;
}

void CProgram::SaveToFile(CZuMFile& file) const {
  file.SetRecordNumber(kRecTagged);
  file.AddRecordElement(kProgramTag);
  file.AddRecordElement(name_);
  file.AddRecordElement(table_);
  file.AddRecordElement(source_);
  file.AddRecordElement(stamp_);
  file.AddRecordElement(suspended_);
  file.WriteNextRecord();
}

bool CProgram::LoadFromFile(CZuMFile& file) {
  std::string tag;
  if (file.GetRecordNumber() != kRecTagged || !file.GetRecordElement(0, tag) ||
      !EqualsNoCase(tag, kProgramTag))
    return false;
  Clear();
  file.GetRecordElement(1, name_);
  file.GetRecordElement(2, table_);
  file.GetRecordElement(3, source_);
  file.GetRecordElement(4, stamp_);
  file.GetRecordElement(5, suspended_);
  return true;
}

}  // namespace davodu
