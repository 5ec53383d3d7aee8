// The template of the demo chart, built into the command so that the demo
// runs without the source tree. docs/demo-template.json holds the same text.
#ifndef DAVODU_APP_DEMO_TEMPLATE_H_
#define DAVODU_APP_DEMO_TEMPLATE_H_

namespace davodu::app {

inline constexpr char kDemoTemplate[] = R"json({
  "title": "{well} 综合测井图",
  "scale": 500,
  "top": 1520,
  "bottom": 1660,
  "depth_type": "md",
  "tracks": [
    {"kind": "stratum", "width": 1600, "title": "段", "level": 3},
    {"kind": "stratum", "width": 1700, "title": "亚段", "level": 4},
    {"kind": "program", "width": 1500, "title": "厚度(m)", "table": "stratum4",
     "source": "if top == nil then return end\nlocal yt, yb = depth_y(top), depth_y(bottom)\nif top > top_depth then hline(yt, {color = '#404040'}) text(x1 - 60, yt - 40, string.format('%.1f', top), {align = 'right', size = 220, color = '#800000'}) end\nif yt - yb >= 600 then text((x0 + x1) / 2, (yt + yb) / 2, string.format('%.1f', bottom - top), {align = 'center', valign = 'middle', size = 280}) end"},
    {"kind": "depth", "width": 1800, "title": "深度(m)"},
    {"kind": "curve", "width": 3500, "grid": "linear", "curves": [
      {"name": "SP", "left": -70, "right": -5, "color": "#0000FF"},
      {"name": "GR", "left": 0, "right": 150, "color": "#008000", "fills": [
        {"to": "left", "colors": [
          {"from": 0, "to": 50, "color": "#FFE45C"},
          {"from": 50, "to": 75, "color": "#FFE45C"},
          {"from": 75, "to": 100, "color": "#D2AA6E"},
          {"from": 100, "to": 150, "color": "#B4B4B4"}]}]}]},
    {"kind": "curve", "width": 4000, "grid": "log", "curves": [
      {"name": "RT", "left": 1, "right": 1000, "log": true, "color": "#C80000"},
      {"name": "RXO", "left": 1, "right": 1000, "log": true, "color": "#0000C8"}]},
    {"kind": "curve", "width": 4000, "grid": "linear", "curves": [
      {"name": "AC", "left": 400, "right": 150, "color": "#A000A0"},
      {"name": "DEN", "left": 1.95, "right": 2.95, "color": "#C80000", "fills": [
        {"to": "CNL", "where_left": "#FFD84A", "where_right": "#B4CDB4"}]},
      {"name": "CNL", "left": 45, "right": -15, "color": "#0000A0"}]},
    {"kind": "sand", "width": 1400, "title": "砂岩", "symbol": "bracket", "precision": 1},
    {"kind": "result", "width": 900, "title": "解释", "table": "一类砂岩数据", "field": "电测解释"},
    {"kind": "lithology", "width": 2000, "title": "岩性剖面"},
    {"kind": "core", "width": 1600, "title": "取芯"},
    {"kind": "rock_sample", "width": 900, "title": "岩样"},
    {"kind": "sidewall_core", "width": 3600, "title": "井壁取芯", "names": true},
    {"kind": "perforation", "width": 1000, "title": "射孔"},
    {"kind": "oil_test", "width": 3200, "title": "试油", "fill": "result", "bar": true, "pie": true},
    {"kind": "production", "width": 2600, "title": "产液剖面",
     "params": [{"name": "日产液量", "left": 0, "right": 30, "color": "#00A060"},
                {"name": "含水", "left": 0, "right": 100, "color": "#2060E0"}]},
    {"kind": "parameter", "width": 1800, "title": "孔隙度(%)", "digits": 1,
     "items": [
      {"top": 1525.9, "bottom": 1533.5, "value": 17.84},
      {"top": 1564.3, "bottom": 1573.8, "value": 21.46},
      {"top": 1603.3, "bottom": 1620.0, "value": 19.23},
      {"top": 1620.0, "bottom": 1626.9, "value": 16.41},
      {"top": 1654.9, "bottom": 1660.0, "value": 15.07}]},
    {"kind": "sand_layer", "width": 6400, "title": "砂层", "fields": [
      {"field": "层位", "title": "层号", "width": 1.4},
      {"field": "有效厚度", "title": "有效\n厚度", "decimals": 1},
      {"field": "孔隙度", "title": "孔隙度\n%", "decimals": 1},
      {"field": "渗透率", "title": "渗透率\nmD", "decimals": 1, "width": 1.2},
      {"field": "解释结论", "title": "解释\n结论", "width": 1.1},
      {"field": "水淹级别", "title": "水淹\n级别", "width": 1.2}]},
    {"kind": "text", "width": 2000, "title": "解释结论", "align": "center", "valign": "middle",
     "items": [
      {"top": 1525.9, "bottom": 1533.5, "text": "水层"},
      {"top": 1564.3, "bottom": 1573.8, "text": "油层"},
      {"top": 1603.3, "bottom": 1620.0, "text": "油层"},
      {"top": 1620.0, "bottom": 1626.9, "text": "水层"},
      {"top": 1654.9, "bottom": 1660.0, "text": "水层"}]}
  ]
}
)json";

}  // namespace davodu::app

#endif  // DAVODU_APP_DEMO_TEMPLATE_H_
