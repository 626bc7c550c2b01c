#include "tools/storyboard/StoryMapPage.h"

namespace {

const char kStyle[] = R"(<style>
#story-map { margin: 0 0 1.5em; }
.map-bar { display: flex; gap: 1em; align-items: center; margin: 0 0 4px; }
.map-bar input { width: 18em; }
.map-help { color: #666; font-size: 80%; }
.map-view { height: 60vh; background: #fff; border: 1px solid #ccc; cursor: grab;
  touch-action: none; user-select: none; }
.map-view svg { width: 100%; height: 100%; }
.map-view g.node { cursor: pointer; }
.map-view g.node.selected polygon, .map-view g.node.selected ellipse,
.map-view g.node.selected path { stroke: #e0a020; stroke-width: 4px; }
</style>
)";

// Pan by dragging, zoom with the wheel about the pointer, a click selects a
// place. Past the whole-map size only the places two steps from the
// selected one stay, the drawing zoomed onto them: Graphviz's layout is
// kept, nothing is laid out again.
const char kScript[] = R"(<script>
(function () {
  const data = JSON.parse(document.getElementById('story-map-data').textContent);
  const source = document.getElementById('story-map-source');
  const svg = source.querySelector('svg');
  const box = document.createElement('section');
  box.id = 'story-map';
  box.innerHTML = '<div class="map-bar"><input type="search" id="map-search" list="map-names"' +
    ' placeholder="Find a label, or a line number"><datalist id="map-names"></datalist>' +
    '<span class="map-help">Drag to pan, wheel to zoom; click a place to see its frames.</span>' +
    '</div><div class="map-view"></div>';
  document.body.insertBefore(box, document.querySelector('main'));
  const view = box.querySelector('.map-view');
  view.appendChild(svg);
  source.remove();
  svg.removeAttribute('width');
  svg.removeAttribute('height');
  const large = data.nodes.length > LIMIT;
  const byId = new Map(data.nodes.map(n => [n.id, n]));
  const elements = new Map();
  svg.querySelectorAll('g.node').forEach(g => elements.set(g.id, g));
  const names = box.querySelector('#map-names');
  data.nodes.forEach(n => { if (n.name) names.appendChild(new Option(n.name)); });

  const b = svg.viewBox.baseVal;
  let vb = {x: b.x, y: b.y, w: b.width, h: b.height};
  function apply() { svg.setAttribute('viewBox', vb.x + ' ' + vb.y + ' ' + vb.w + ' ' + vb.h); }
  function toSvg(cx, cy) {
    const r = view.getBoundingClientRect();
    const scale = Math.max(vb.w / r.width, vb.h / r.height);
    return {x: vb.x + vb.w / 2 + (cx - r.left - r.width / 2) * scale,
            y: vb.y + vb.h / 2 + (cy - r.top - r.height / 2) * scale, scale: scale};
  }
  view.addEventListener('wheel', e => {
    e.preventDefault();
    const at = toSvg(e.clientX, e.clientY), f = e.deltaY > 0 ? 1.2 : 1 / 1.2;
    vb = {x: at.x - (at.x - vb.x) * f, y: at.y - (at.y - vb.y) * f, w: vb.w * f, h: vb.h * f};
    apply();
  }, {passive: false});
  let drag = null;
  view.addEventListener('pointerdown', e => {
    drag = {x: e.clientX, y: e.clientY, moved: 0};
    view.setPointerCapture(e.pointerId);
  });
  view.addEventListener('pointermove', e => {
    if (!drag) return;
    const scale = toSvg(e.clientX, e.clientY).scale;
    vb.x -= (e.clientX - drag.x) * scale;
    vb.y -= (e.clientY - drag.y) * scale;
    drag.moved += Math.abs(e.clientX - drag.x) + Math.abs(e.clientY - drag.y);
    drag.x = e.clientX;
    drag.y = e.clientY;
    apply();
  });
  view.addEventListener('pointerup', e => {
    const click = drag && drag.moved < 5;
    drag = null;
    if (!click) return;
    const target = document.elementFromPoint(e.clientX, e.clientY);
    const g = target && target.closest('g.node');
    if (g) select(g.id, true);
  });

  function neighbours(id) {
    const near = new Set([id]);
    for (let step = 0; step < 2; ++step) {
      const reached = new Set(near);
      data.edges.forEach(e => {
        if (reached.has(e.from)) near.add(e.to);
        if (reached.has(e.to)) near.add(e.from);
      });
    }
    return near;
  }
  // From the nodes' coordinates to the drawing's: Graphviz moves its graph.
  const graph = svg.querySelector('g.graph');
  const moved = graph && graph.transform.baseVal.consolidate();
  const toDrawing = moved ? moved.matrix : new DOMMatrix();
  function fit(shown) {
    let x0 = Infinity, y0 = Infinity, x1 = -Infinity, y1 = -Infinity;
    shown.forEach(id => {
      const g = elements.get(id);
      if (!g) return;
      const r = g.getBBox();
      [[r.x, r.y], [r.x + r.width, r.y + r.height]].forEach(([x, y]) => {
        const p = new DOMPoint(x, y).matrixTransform(toDrawing);
        x0 = Math.min(x0, p.x); y0 = Math.min(y0, p.y);
        x1 = Math.max(x1, p.x); y1 = Math.max(y1, p.y);
      });
    });
    if (x0 === Infinity) return;
    vb = {x: x0 - 30, y: y0 - 30, w: x1 - x0 + 60, h: y1 - y0 + 60};
    apply();
  }
  function showAround(id) {
    const near = neighbours(id);
    elements.forEach((g, key) => { g.style.display = near.has(key) ? '' : 'none'; });
    data.edges.forEach((e, i) => {
      const g = svg.getElementById('edge-' + i);
      if (g) g.style.display = near.has(e.from) && near.has(e.to) ? '' : 'none';
    });
    fit(near);
  }
  function select(id, scroll) {
    const node = byId.get(id);
    if (!node) return;
    elements.forEach(g => g.classList.remove('selected'));
    elements.get(id).classList.add('selected');
    if (large) showAround(id);
    if (scroll && node.frames.length) {
      const number = parseInt(node.frames[0].replace(/\D/g, ''), 10);
      location.hash = 'f' + number;
    }
  }
  box.querySelector('#map-search').addEventListener('change', e => {
    const text = e.target.value.trim();
    const line = /^\d+$/.test(text) ? parseInt(text, 10) : 0;
    const found = data.nodes.find(n => n.name === text) ||
      data.nodes.find(n => line && n.line === line) ||
      data.nodes.find(n => n.name && n.name.toLowerCase().includes(text.toLowerCase()));
    if (found) select(found.id, true);
  });
  if (large) select('start', false);
})();
</script>
)";

// Inside a script element nothing may close it.
std::string ScriptSafe(std::string json) {
    for (size_t at = 0; (at = json.find("</", at)) != std::string::npos; at += 3)
        json.replace(at, 2, "<\\/");
    return json;
}

}  // namespace

std::string StoryMapSection(const std::string& svg, const std::string& json) {
    size_t start = svg.find("<svg");
    std::string drawing = start == std::string::npos ? "" : svg.substr(start);
    std::string script = kScript;
    script.replace(script.find("LIMIT"), 5, std::to_string(kWholeMapNodes));
    return kStyle + std::string("<div id=\"story-map-source\" hidden>") + drawing +
           "</div>\n<script type=\"application/json\" id=\"story-map-data\">" + ScriptSafe(json) +
           "</script>\n" + script;
}
