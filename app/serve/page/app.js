// The page of `davodu serve`. The chart is drawn by the server: this page
// shows its images (horizontal bands, fetched for the part in view) and the
// image of the interactive marks laid over them, forwards the mouse to the
// kits, and shows their menus. No framework, no build step.
'use strict';

(() => {
  const token = new URLSearchParams(location.search).get('token') || '';
  const client = Array.from(crypto.getRandomValues(new Uint8Array(12)),
                            (b) => b.toString(16).padStart(2, '0')).join('');
  const ZOOMS = [0.25, 0.33, 0.5, 0.67, 0.75, 0.9, 1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4];
  const POLL_MS = 1000;
  const $ = (id) => document.getElementById(id);
  const scroller = $('scroller'), surface = $('chart'), marksImg = $('marks');

  const view = {
    chart: '', zoom: 1, revision: 0, marksVersion: -1, width: 0, height: 0,
    bandHeight: 512, bands: 0, dirty: false, outline: null, outlineRevision: -1,
  };
  const bandImages = new Map();  // band index -> {img, key}
  let dragging = false;
  let queue = Promise.resolve();  // mouse requests, one after another
  let pendingMove = null;         // the latest move not sent yet
  let lastMove = null;            // the last press or move sent during a drag
  let pollTimer = 0;

  // ------------------------------------------------------------ requests

  function viewParams() {
    return {
      chart: view.chart, client, zoom: view.zoom, ratio: window.devicePixelRatio || 1,
      left: scroller.scrollLeft, top: scroller.scrollTop,
      width: scroller.clientWidth, height: scroller.clientHeight,
    };
  }

  function query(params) {
    return new URLSearchParams(Object.assign({ token }, params)).toString();
  }

  async function api(method, path, params) {
    const init = { method, headers: { 'X-Davodu-Token': token } };
    let url = path;
    if (method === 'GET') {
      url += '?' + new URLSearchParams(params || {}).toString();
    } else {
      init.headers['Content-Type'] = 'application/json';
      init.body = JSON.stringify(params || {});
    }
    const res = await fetch(url, init);
    let data = {};
    try { data = await res.json(); } catch (e) { /* not JSON */ }
    if (!res.ok) {
      const err = new Error(data.error || res.status + ' ' + res.statusText);
      err.status = res.status;
      throw err;
    }
    return data;
  }

  function say(text, error) {
    const m = $('message');
    m.textContent = text || '';
    m.classList.toggle('error', !!error);
  }

  // ------------------------------------------------------------ drawing

  function bandUrl(k) {
    const p = viewParams();
    return '/api/band?' + query({ chart: p.chart, client, zoom: p.zoom, ratio: p.ratio,
                                  band: k, rev: view.revision });
  }

  // Fetches the bands in view (and one beyond each edge) of the present
  // revision; an old band stays shown until its successor has arrived.
  function updateBands() {
    if (!view.chart) return;
    const h = view.bandHeight;
    const first = Math.max(0, Math.floor(scroller.scrollTop / h) - 1);
    const last = Math.min(view.bands - 1,
                          Math.floor((scroller.scrollTop + scroller.clientHeight) / h) + 1);
    for (let k = first; k <= last; ++k) {
      const url = bandUrl(k);
      const shown = bandImages.get(k);
      if (shown && (shown.key === url || shown.loading === url)) continue;
      if (shown) shown.loading = url;
      const img = new Image();
      img.className = 'band';
      img.alt = '';
      img.style.top = (k * h) + 'px';
      img.style.width = view.width + 'px';
      img.style.height = Math.min(h, view.height - k * h) + 'px';
      img.onload = () => {
        const now = bandImages.get(k);
        if (now && now.img !== img) now.img.remove();
        surface.appendChild(img);
        bandImages.set(k, { img, key: url });
        img.dataset.revision = String(view.revision);
      };
      img.onerror = () => { const now = bandImages.get(k); if (now) now.loading = null; };
      img.src = url;
      if (!shown) bandImages.set(k, { img: document.createElement('img'), key: '', loading: url });
    }
    // Bands far from view are let go.
    for (const [k, b] of bandImages) {
      if (k < first - 4 || k > last + 4) {
        b.img.remove();
        bandImages.delete(k);
      }
    }
  }

  function clearBands() {
    for (const b of bandImages.values()) b.img.remove();
    bandImages.clear();
  }

  function showMarks(marks) {
    if (marks === undefined) return;
    if (!marks) {
      marksImg.hidden = true;
      marksImg.removeAttribute('src');
      return;
    }
    marksImg.src = 'data:image/png;base64,' + marks.png;
    marksImg.style.left = marks.x + 'px';
    marksImg.style.top = marks.y + 'px';
    marksImg.style.width = marks.width + 'px';
    marksImg.style.height = marks.height + 'px';
    marksImg.hidden = false;
  }

  // Takes in a state answer of the server.
  function apply(state) {
    if (!state) return;
    if (state.marks !== undefined) showMarks(state.marks);
    if (state.marks_version !== undefined && state.marks !== undefined)
      view.marksVersion = state.marks_version;
    if (state.revision === undefined) return;
    const grew = state.revision !== view.revision;
    view.revision = state.revision;
    if (state.width !== view.width || state.height !== view.height) {
      view.width = state.width;
      view.height = state.height;
      surface.style.width = state.width + 'px';
      surface.style.height = state.height + 'px';
    }
    view.bandHeight = state.band_height;
    view.bands = state.bands;
    view.dirty = state.dirty;
    $('save').classList.toggle('dirty', state.dirty);
    $('depth-type').value = String(state.depth_type);
    if (document.activeElement !== $('scale')) $('scale').value = state.scale;
    if (state.conflict) say('The file was changed on disk by another program; saving overwrites it.', true);
    else if (state.busy) say('Another browser is editing this chart.');
    if (grew) updateBands();
  }

  // ------------------------------------------------------------ the chart

  async function openChart(name) {
    closeMenu();
    view.chart = name;
    view.revision = -1;
    view.marksVersion = -1;
    view.outline = null;
    clearBands();
    showMarks(null);
    $('empty').hidden = true;
    for (const id of ['depth-type', 'scale', 'save', 'export']) $(id).disabled = false;
    history.replaceState(null, '', '?' + query({}) + '#' + encodeURIComponent(name));
    try {
      apply(await api('GET', '/api/state', Object.assign(viewParams(), { marks: view.marksVersion })));
      say('Opened ' + name);
    } catch (e) {
      say(e.message, true);
    }
  }

  async function poll() {
    clearTimeout(pollTimer);
    if (view.chart && !dragging) {
      try {
        apply(await api('GET', '/api/state', Object.assign(viewParams(), { marks: view.marksVersion })));
      } catch (e) {
        say(e.message, true);
      }
    }
    pollTimer = setTimeout(poll, POLL_MS);
  }

  async function outline() {
    if (!view.chart) return null;
    if (view.outlineRevision !== view.revision) {
      view.outline = await api('GET', '/api/outline', viewParams());
      view.outlineRevision = view.outline.revision;
    }
    return view.outline;
  }

  // ------------------------------------------------------------ the mouse

  function chartPoint(e) {
    const r = surface.getBoundingClientRect();
    return { x: e.clientX - r.left, y: e.clientY - r.top };
  }

  function mouse(type, e) {
    const p = chartPoint(e);
    const body = Object.assign(viewParams(), { type, x: p.x, y: p.y,
                                               shift: e.shiftKey ? 1 : 0, ctrl: e.ctrlKey ? 1 : 0 });
    return api('POST', '/api/mouse', body).then((state) => {
      apply(state);
      if (state.cursor) surface.style.cursor = state.cursor;
      return state;
    });
  }

  function enqueue(fn) {
    queue = queue.then(fn).catch((e) => say(e.message, true));
    return queue;
  }

  // Moves are coalesced: while one is on its way, only the latest waits.
  function sendMove() {
    if (!pendingMove) return;
    const e = pendingMove;
    pendingMove = null;
    lastMove = e;
    enqueue(() => mouse('move', e));
  }

  surface.addEventListener('pointerdown', (e) => {
    if (e.button !== 0 || !view.chart) return;
    closeMenu();
    e.preventDefault();
    scroller.focus({ preventScroll: true });
    surface.setPointerCapture(e.pointerId);
    dragging = true;
    lastMove = e;
    enqueue(() => mouse('down', e));
  });
  surface.addEventListener('pointermove', (e) => {
    if (dragging) {
      const waiting = pendingMove !== null;
      pendingMove = e;
      if (!waiting) queue.then(sendMove);
    } else {
      hover(e);
    }
  });
  // The kits follow a drag through its moves: a move still waiting (or a
  // release away from the last move sent) goes before the release, or a
  // slow answer would leave the drag short of where the mouse let go.
  const release = (e) => {
    if (!dragging) return;
    dragging = false;
    const last = lastMove;
    pendingMove = null;
    if (!last || last.clientX !== e.clientX || last.clientY !== e.clientY) enqueue(() => mouse('move', e));
    enqueue(() => mouse('up', e));
  };
  surface.addEventListener('pointerup', release);
  surface.addEventListener('pointercancel', release);
  surface.addEventListener('dblclick', (e) => {
    if (view.chart) enqueue(() => mouse('dblclick', e));
  });
  surface.addEventListener('contextmenu', (e) => {
    e.preventDefault();
    if (!view.chart) return;
    const at = { x: e.clientX, y: e.clientY };
    enqueue(() => mouse('contextmenu', e).then((state) => showMenu(state.menu || [], at)));
  });

  // The status line names the column under the pointer.
  let hoverBusy = false;
  async function hover(e) {
    if (hoverBusy || !view.chart) return;
    hoverBusy = true;
    try {
      const o = await outline();
      const p = chartPoint(e);
      let text = '';
      for (const w of (o ? o.wells : [])) {
        for (const t of w.tracks) {
          if (p.x < t.left || p.x > t.right) continue;
          const names = t.title ? [t.title] : [];
          for (const c of t.contents) {
            if (p.x >= c.left && p.x <= c.right && p.y >= c.head_top && p.y <= c.body_bottom) {
              names.push(c.title || c.name || c.class);
              break;
            }
          }
          text = names.join(' › ');
        }
      }
      $('where').textContent = text;
    } catch (err) {
      /* the status line is a convenience */
    } finally {
      hoverBusy = false;
    }
  }

  // ------------------------------------------------------------ menus

  const menu = $('menu');
  function closeMenu() { menu.hidden = true; menu.textContent = ''; }

  function showMenu(items, at) {
    closeMenu();
    if (!items.length) return;
    for (const item of items) {
      if (item.id === 0) {
        menu.appendChild(document.createElement('hr'));
        continue;
      }
      const b = document.createElement('button');
      b.type = 'button';
      b.dataset.id = item.id;
      // "&D" marks an access key in the kits' texts.
      b.textContent = item.text.replace(/\(&(.)\)/, '($1)').replace(/&(.)/, '$1');
      b.addEventListener('click', () => { closeMenu(); command(item.id, []); });
      menu.appendChild(b);
    }
    menu.hidden = false;
    const w = menu.offsetWidth, h = menu.offsetHeight;
    menu.style.left = Math.min(at.x, window.innerWidth - w - 4) + 'px';
    menu.style.top = Math.min(at.y, window.innerHeight - h - 4) + 'px';
    const first = menu.querySelector('button');
    if (first) first.focus();
  }

  function command(id, answers) {
    return enqueue(async () => {
      const state = await api('POST', '/api/command', Object.assign(viewParams(), { id, answers }));
      apply(state);
      for (const m of state.messages || []) say(m);
      if (state.files && state.files.length) showFiles(state.files);
      if (state.question) {
        // The kit asked; it was answered no. Asked here, a yes sends the
        // command again with the answer.
        if (window.confirm(state.question)) command(id, answers.concat([true]));
      }
    });
  }

  document.addEventListener('pointerdown', (e) => { if (!menu.contains(e.target)) closeMenu(); });
  document.addEventListener('keydown', (e) => {
    if (e.key === 'Escape') closeMenu();
    if ((e.ctrlKey || e.metaKey) && e.key === 's') {
      e.preventDefault();
      save();
    }
  });

  // ------------------------------------------------------------ the bar

  async function save() {
    if (!view.chart) return;
    try {
      const r = await api('POST', '/api/save', { chart: view.chart });
      view.dirty = false;
      $('save').classList.remove('dirty');
      say('Saved ' + r.saved);
    } catch (e) {
      say(e.message, true);
    }
  }

  function showFiles(files) {
    const box = $('files');
    box.textContent = 'Files: ';
    for (const f of files) {
      const a = document.createElement('a');
      a.href = '/api/download?' + query({ chart: view.chart, file: f });
      a.textContent = f;
      a.download = f;
      box.appendChild(a);
    }
    box.hidden = false;
  }

  async function exportAs(format) {
    if (!view.chart || !format) return;
    if (format === 'tables') {
      try {
        showFiles((await api('POST', '/api/tables', { chart: view.chart, utf8: 1 })).files);
      } catch (e) {
        say(e.message, true);
      }
      return;
    }
    const a = document.createElement('a');
    a.href = '/api/export?' + query({ chart: view.chart, format, dpi: format === 'png' ? 150 : 72 });
    document.body.appendChild(a);
    a.click();
    a.remove();
  }

  async function settings(params) {
    try {
      apply(await api('POST', '/api/settings', Object.assign(viewParams(), params)));
    } catch (e) {
      say(e.message, true);
    }
  }

  function setZoom(zoom) {
    const old = view.zoom;
    if (zoom === old) return;
    // The point in the middle of the view stays in the middle.
    const cx = (scroller.scrollLeft + scroller.clientWidth / 2) / old;
    const cy = (scroller.scrollTop + scroller.clientHeight / 2) / old;
    view.zoom = zoom;
    $('zoom-label').textContent = Math.round(zoom * 100) + '%';
    clearBands();
    showMarks(null);
    view.marksVersion = -1;
    view.revision = -1;
    surface.style.width = (view.width * zoom / old) + 'px';
    surface.style.height = (view.height * zoom / old) + 'px';
    scroller.scrollLeft = cx * zoom - scroller.clientWidth / 2;
    scroller.scrollTop = cy * zoom - scroller.clientHeight / 2;
    poll();
  }

  function step(direction) {
    const i = ZOOMS.findIndex((z) => z >= view.zoom - 1e-9);
    const next = ZOOMS[Math.max(0, Math.min(ZOOMS.length - 1, (i < 0 ? ZOOMS.length - 1 : i) + direction))];
    setZoom(next);
  }

  async function loadLists() {
    try {
      const [charts, wells] = await Promise.all([api('GET', '/api/charts'), api('GET', '/api/wells')]);
      const fill = (select, names) => {
        select.textContent = '';
        for (const n of names) {
          const o = document.createElement('option');
          o.value = o.textContent = n;
          select.appendChild(o);
        }
      };
      fill($('chart-select'), charts.charts);
      fill($('new-template'), charts.templates);
      fill($('new-well'), wells.wells);
      return charts.charts;
    } catch (e) {
      say(e.message, true);
      return [];
    }
  }

  $('open').addEventListener('click', () => { if ($('chart-select').value) openChart($('chart-select').value); });
  $('new-toggle').addEventListener('click', () => { $('new-chart').hidden = !$('new-chart').hidden; });
  $('new-chart').addEventListener('submit', async (e) => {
    e.preventDefault();
    try {
      const r = await api('POST', '/api/charts', {
        template: $('new-template').value, well: $('new-well').value, name: $('new-name').value,
      });
      await loadLists();
      $('chart-select').value = r.chart;
      $('new-chart').hidden = true;
      openChart(r.chart);
    } catch (err) {
      say(err.message, true);
    }
  });
  $('depth-type').addEventListener('change', () => settings({ depth_type: Number($('depth-type').value) }));
  $('scale').addEventListener('change', () => settings({ scale: Number($('scale').value) }));
  $('save').addEventListener('click', save);
  $('export').addEventListener('change', () => {
    exportAs($('export').value);
    $('export').value = '';
  });
  $('zoom-in').addEventListener('click', () => step(1));
  $('zoom-out').addEventListener('click', () => step(-1));
  let scrollTimer = 0;
  scroller.addEventListener('scroll', () => {
    updateBands();
    // The marks follow the part in view once scrolling rests.
    clearTimeout(scrollTimer);
    scrollTimer = setTimeout(() => { view.marksVersion = -1; poll(); }, 150);
  });
  window.addEventListener('resize', updateBands);

  // For scripts driving the page (the browser test): whether every band in
  // view shows the present revision, and the outline of the chart.
  window.davodu = {
    ready() {
      if (!view.chart || view.revision < 0 || dragging) return false;
      const h = view.bandHeight;
      const first = Math.floor(scroller.scrollTop / h);
      const last = Math.min(view.bands - 1, Math.floor((scroller.scrollTop + scroller.clientHeight) / h));
      for (let k = first; k <= last; ++k) {
        const b = bandImages.get(k);
        if (!b || b.key !== bandUrl(k)) return false;
      }
      return true;
    },
    outline,
    get revision() { return view.revision; },
    get chart() { return view.chart; },
    idle() { return queue.then(() => true); },
  };

  loadLists().then((charts) => {
    const wanted = decodeURIComponent(location.hash.slice(1));
    if (wanted && charts.includes(wanted)) {
      $('chart-select').value = wanted;
      openChart(wanted);
    }
    poll();
  });
})();
