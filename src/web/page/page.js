// The page's behaviour: builds the form from the module's field list, hands the form's values
// to the module on every change and shows what it returns. Every number, label and text of a
// design comes from the C++ module; this file only moves them into the page and the address.
import createBandmatch from './bandmatch.mjs';

const byId = (id) => document.getElementById(id);
const controls = new Map();  // field key -> { row, label, input, hint, message }

function valuesOfAddress() {
  return Object.fromEntries(new URLSearchParams(window.location.search));
}

function valuesOfForm() {
  const values = {};
  for (const [key, control] of controls) values[key] = control.input.value;
  return values;
}

// One labelled row: a text box or a choice, what it accepts, and why a value is refused.
function buildRow(field, container) {
  const id = `field-${field.key}`;
  const row = document.createElement('div');
  row.className = 'field';
  const label = document.createElement('label');
  label.htmlFor = id;
  let input;
  if (field.choices.length > 0) {
    input = document.createElement('select');
    for (const choice of field.choices) input.add(new Option(choice.text, choice.value));
  } else {
    input = document.createElement('input');
    input.type = 'text';
    input.spellcheck = false;
  }
  input.id = id;
  input.name = field.key;
  input.value = field.value;
  const hint = document.createElement('p');
  hint.className = 'hint';
  hint.id = `${id}-hint`;
  const message = document.createElement('p');
  message.className = 'message';
  message.id = `${id}-message`;
  message.setAttribute('aria-live', 'polite');
  input.setAttribute('aria-describedby', `${hint.id} ${message.id}`);
  row.append(label, input, hint, message);
  container.append(row);
  controls.set(field.key, { row, label, input, hint, message });
}

// The fields the method asks for, under their record names, e.g. ?name=run1&N=3&method=d&...,
// then the fields of the network to build that are not left empty.
function addressOf(page) {
  const query = new URLSearchParams();
  for (const field of page.fields) {
    if (field.used) query.set(field.key, controls.get(field.key).input.value);
  }
  for (const field of page.buildFields) {
    const value = controls.get(field.key).input.value;
    if (value !== '') query.set(field.key, value);
  }
  return `?${query}`;
}

function cell(tag, text) {
  const element = document.createElement(tag);
  element.textContent = text;
  return element;
}

// The table of the best match for N = 1 to 10 and the limit; the design's own N marked.
function showBestMatch(table) {
  byId('best-match').hidden = table === null;
  if (table === null) return;
  const element = byId('best-match-table');
  element.caption.textContent = table.title;
  const head = document.createElement('tr');
  for (const heading of table.headings) {
    const th = cell('th', heading);
    th.scope = 'col';
    head.append(th);
  }
  element.tHead.replaceChildren(head);
  const rows = table.rows.map((row) => {
    const tr = document.createElement('tr');
    tr.append(cell('td', row.cells[0]));
    if (row.note === '') {
      for (const text of row.cells.slice(1)) tr.append(cell('td', text));
    } else {
      const note = cell('td', row.note);
      note.colSpan = table.headings.length - 1;
      tr.append(note);
    }
    if (row.current) {
      tr.className = 'current';
      tr.setAttribute('aria-current', 'true');
    }
    return tr;
  });
  element.tBodies[0].replaceChildren(...rows);
}

// A parts list's rows as a table, the header row first.
function showComponents(rows) {
  byId('component-list').hidden = rows.length === 0;
  const table = byId('component-table');
  if (rows.length === 0) return;
  const head = document.createElement('tr');
  for (const heading of rows[0]) {
    const th = cell('th', heading);
    th.scope = 'col';
    head.append(th);
  }
  table.tHead.replaceChildren(head);
  table.tBodies[0].replaceChildren(...rows.slice(1).map((row) => {
    const tr = document.createElement('tr');
    for (const text of row) tr.append(cell('td', text));
    return tr;
  }));
}

function showText(id, text) {
  byId(id).textContent = text;
  byId(id).hidden = text === '';
}

function show(page) {
  for (const field of [...page.fields, ...page.buildFields]) {
    const control = controls.get(field.key);
    control.label.textContent = field.label;
    control.hint.textContent = field.hint;
    control.message.textContent = field.message;
    control.row.hidden = !field.used;
    control.input.setAttribute('aria-invalid', field.message === '' ? 'false' : 'true');
  }
  const results = byId('results');
  results.dataset.ready = page.ready ? '1' : '0';
  byId('no-design').hidden = page.ready;
  byId('report').textContent = page.report;
  byId('warnings').textContent = page.warnings;
  byId('warnings').hidden = page.warnings === '';
  byId('plot').innerHTML = page.plot;
  byId('plot-figure').hidden = page.plot === '';
  showText('export-problem', page.problem);
  showBestMatch(page.bestMatch);
  byId('schematic-drawing').innerHTML = page.schematic;
  byId('schematic').hidden = page.schematic === '';
  showComponents(page.parts);
  byId('smith-drawing').innerHTML = page.smithChart;
  byId('smith-chart').hidden = page.smithChart === '';
  showText('network-summary', page.summary);
  showText('load-summary', page.loadSummary);
  showText('load-problem', page.loadProblem);
  for (const button of document.querySelectorAll('#downloads button')) {
    // The exporter's files come with the plot; the reports with any design.
    const withPlot = button.dataset.plot === '1';
    button.disabled = !page.ready || (withPlot && page.plot === '');
  }
  followAddress(page);
}

// The address follows the form in a task of its own, after the new design is on screen:
// replacing it is a round trip to the browser, too slow for the frame of a keystroke.
let addressUpdate = 0;
function followAddress(page) {
  clearTimeout(addressUpdate);
  addressUpdate = setTimeout(() => window.history.replaceState(null, '', addressOf(page)), 0);
}

function download(bandmatch, kind) {
  const file = bandmatch.file(valuesOfForm(), kind);
  if (file === null) return;
  const url = URL.createObjectURL(new Blob([file.content], { type: file.type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = file.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

// A chosen file is read no further than one byte past the size the module takes, fitted over the
// form's band and, when accepted, fills the form; a refusal is shown next to the file field. The
// module gets the file's bytes as they are, so that it reads them as the programs read the file
// (a byte-order mark, another encoding or binary data alike) and gives their reason.
async function chooseLoad(bandmatch, file) {
  const limit = bandmatch.loadFileSizeLimit();
  const bytes = new Uint8Array(await file.slice(0, limit + 1).arrayBuffer());
  const chosen = bandmatch.chooseLoad(valuesOfForm(), file.name, bytes, byId('load-model').value);
  byId('load-file-message').textContent = chosen.error;
  byId('load-file').setAttribute('aria-invalid', chosen.error === '' ? 'false' : 'true');
  if (chosen.error === '') {
    for (const [key, value] of Object.entries(chosen.values)) {
      if (controls.has(key)) controls.get(key).input.value = value;
    }
  }
  showText('load-fit', chosen.report);
  byId('load-remove').hidden = chosen.error !== '';
  show(bandmatch.design(valuesOfForm()));
}

function removeLoad(bandmatch) {
  bandmatch.forgetLoad();
  byId('load-file').value = '';
  byId('load-file-message').textContent = '';
  byId('load-file').setAttribute('aria-invalid', 'false');
  showText('load-fit', '');
  byId('load-remove').hidden = true;
  show(bandmatch.design(valuesOfForm()));
}

// The topology search: the form's fields as bandmatch-search's arguments, a chosen .s1p file in
// place of an end's typed text; the ranking as the program prints it, then the network of the
// chosen rank with its files.
function searchValues() {
  const values = {};
  for (const element of byId('search-form').elements) {
    if (element.dataset.key !== undefined) values[element.dataset.key] = element.value;
  }
  return values;
}

function saveFile(file) {
  const url = URL.createObjectURL(new Blob([file.content], { type: file.type }));
  const link = document.createElement('a');
  link.href = url;
  link.download = file.name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10000);
}

function showSearchNetwork(bandmatch, rank) {
  const network = bandmatch.network(rank);
  showText('search-network-error', network.error);
  byId('search-plot').innerHTML = network.plot;
  byId('search-plot-figure').hidden = network.plot === '';
  byId('search-schematic').innerHTML = network.schematic;
  const buttons = network.files.map((file) => {
    const button = cell('button', file.name);
    button.type = 'button';
    button.dataset.file = file.name;
    button.addEventListener('click', () => saveFile(file));
    return button;
  });
  byId('search-downloads').replaceChildren(...buttons);
  const table = byId('search-parts');
  table.hidden = network.parts.length === 0;
  if (network.parts.length === 0) return;
  const head = document.createElement('tr');
  for (const heading of network.parts[0]) {
    const th = cell('th', heading);
    th.scope = 'col';
    head.append(th);
  }
  table.tHead.replaceChildren(head);
  table.tBodies[0].replaceChildren(...network.parts.slice(1).map((row) => {
    const tr = document.createElement('tr');
    for (const text of row) tr.append(cell('td', text));
    return tr;
  }));
}

async function chooseEndFile(bandmatch, end, input) {
  const file = input.files[0];
  if (file === undefined) {
    bandmatch.forgetEndFile(end);
    return;
  }
  const limit = bandmatch.loadFileSizeLimit();
  const bytes = new Uint8Array(await file.slice(0, limit + 1).arrayBuffer());
  bandmatch.chooseEndFile(end, file.name, bytes);
}

function runSearch(bandmatch) {
  byId('search-busy').hidden = false;
  byId('search-run').disabled = true;
  // A task of its own, so that the browser shows the busy line before the search holds it.
  setTimeout(() => {
    try {
      const found = bandmatch.search(searchValues());
      showText('search-error', found.error);
      byId('search-result').hidden = found.error !== '';
      byId('search-ranking').textContent = found.ranking;
      const ranks = [];
      for (let rank = 1; rank <= found.ranked; rank += 1) ranks.push(new Option(String(rank)));
      byId('search-rank').replaceChildren(...ranks);
      window.bandmatchSearchSeconds = found.seconds;
      if (found.error === '') showSearchNetwork(bandmatch, 1);
      document.body.dataset.searched = String(Number(document.body.dataset.searched ?? 0) + 1);
    } finally {
      byId('search-busy').hidden = true;
      byId('search-run').disabled = false;
    }
  }, 0);
}

try {
  const bandmatch = await createBandmatch();
  const first = bandmatch.design(valuesOfAddress());
  for (const field of first.fields) buildRow(field, byId('fields'));
  for (const field of first.buildFields) buildRow(field, byId('build-fields'));
  for (const model of bandmatch.loadModels()) {
    byId('load-model').add(new Option(model.text, model.value));
  }
  show(first);
  const redesign = () => show(bandmatch.design(valuesOfForm()));
  for (const container of [byId('fields'), byId('build-fields')]) {
    container.addEventListener('input', redesign);
  }
  byId('load-file').addEventListener('change', () => {
    const file = byId('load-file').files[0];
    if (file === undefined) removeLoad(bandmatch);
    else chooseLoad(bandmatch, file);
  });
  byId('load-model').addEventListener('change', () => {
    const file = byId('load-file').files[0];
    if (file !== undefined) chooseLoad(bandmatch, file);
  });
  byId('load-remove').addEventListener('click', () => removeLoad(bandmatch));
  byId('design-form').addEventListener('submit', (event) => event.preventDefault());
  for (const button of document.querySelectorAll('#downloads button')) {
    button.addEventListener('click', () => download(bandmatch, button.dataset.file));
  }
  for (const end of ['source', 'load']) {
    const input = byId(`search-${end}-file`);
    input.addEventListener('change', () => chooseEndFile(bandmatch, end, input));
  }
  byId('search-form').addEventListener('submit', (event) => {
    event.preventDefault();
    runSearch(bandmatch);
  });
  byId('search-rank').addEventListener('change', () => {
    showSearchNetwork(bandmatch, Number(byId('search-rank').value));
  });
  byId('search-run').disabled = false;
  // Interactive from here: the browser test reads this mark.
  window.bandmatchInteractiveMs = performance.now();
  document.body.dataset.ready = '1';
} catch (error) {
  byId('load-failed').hidden = false;
  throw error;
} finally {
  byId('loading').hidden = true;
}
