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
function buildRow(field) {
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
  byId('fields').append(row);
  controls.set(field.key, { row, label, input, hint, message });
}

// The fields the method asks for, under their record names, e.g. ?name=run1&N=3&method=d&...
function addressOf(page) {
  const query = new URLSearchParams();
  for (const field of page.fields) {
    if (field.used) query.set(field.key, controls.get(field.key).input.value);
  }
  return `?${query}`;
}

function show(page) {
  for (const field of page.fields) {
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
  byId('export-problem').textContent = page.problem;
  byId('export-problem').hidden = page.problem === '';
  for (const button of document.querySelectorAll('#downloads button')) {
    // The netlist and the Touchstone file come with the plot; the reports with any design.
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

try {
  const bandmatch = await createBandmatch();
  const first = bandmatch.design(valuesOfAddress());
  for (const field of first.fields) buildRow(field);
  show(first);
  byId('design-form').addEventListener('input', () => show(bandmatch.design(valuesOfForm())));
  byId('design-form').addEventListener('submit', (event) => event.preventDefault());
  for (const button of document.querySelectorAll('#downloads button')) {
    button.addEventListener('click', () => download(bandmatch, button.dataset.file));
  }
  // Interactive from here: the browser test reads this mark.
  window.bandmatchInteractiveMs = performance.now();
  document.body.dataset.ready = '1';
} catch (error) {
  byId('load-failed').hidden = false;
  throw error;
} finally {
  byId('loading').hidden = true;
}
