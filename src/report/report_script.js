// What both pages of tamvek-report share: the colours outside the scales, the
// decoding of the embedded cells, a grid drawn on a canvas, the cell size, the
// tooltip, the scales' legends and the start. tamvek-report builds this file
// into each page ahead of the page's own script, which uses it.
"use strict";

// Colours outside the scales: an inactive cell, a cell with no value, a field too large to write.
const INACTIVE_RGB = [169, 169, 169];
const ZERO_RGB = [250, 246, 236];
const OVERFLOW_RGB = [228, 0, 124];
// A field written as ****** arrives as this many tenths: no six-character field holds it.
const OVERFLOW_TENTHS = 1000000;
// The colours of a scale, from its lowest value to its highest.
const SCALE_STEPS = 256;
const CELL_SIZES = [1, 2, 3, 4, 5, 6, 8, 10, 12, 16, 20, 24, 32];
// The visible map stays within what every browser's canvas can hold.
const MAX_CANVAS_SIDE = 8192;

const $ = (id) => document.getElementById(id);
const rgb_css = (c) => "rgb(" + c[0] + "," + c[1] + "," + c[2] + ")";

// ---- decoding ----

function base64_bytes(text) {
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}

// Tenths of each cell, in cell order, from LEB128 varints: each the zigzag code
// of one cell's value; or, with `zero_runs`, an even varint twice a value's
// zigzag code and an odd one 2(n - 1) + 1 for n cells of zero.
function decode_cells(text, count, what, zero_runs = false) {
  const bytes = base64_bytes(text);
  const values = new Int32Array(count);
  let n = 0, at = 0;
  while (at < bytes.length) {
    let code = 0, scale = 1, byte;
    do {
      if (at >= bytes.length) throw new Error(what + ": the last value is cut short");
      byte = bytes[at++];
      code += (byte & 0x7f) * scale;
      scale *= 128;
    } while (byte & 0x80);
    if (zero_runs) {
      if (code % 2 === 1) {
        n += (code - 1) / 2 + 1;
        if (n > count) throw new Error(what + ": more values than the grid's " + count + " cells");
        continue;
      }
      code /= 2;
    }
    if (n >= count) throw new Error(what + ": more values than the grid's " + count + " cells");
    values[n++] = code % 2 === 0 ? code / 2 : -(code + 1) / 2;
  }
  if (n !== count) throw new Error(what + ": " + n + " values for the grid's " + count + " cells");
  return values;
}

// The number of the grid's cells, once its size is known to be whole rows and columns.
function cell_count(grid) {
  if (!(Number.isInteger(grid.nx) && Number.isInteger(grid.ny) && grid.nx > 0 && grid.ny > 0)) {
    throw new Error("the grid's size is " + grid.ny + " by " + grid.nx);
  }
  return grid.nx * grid.ny;
}

// The active flags, one byte a cell: 1 for an active cell, 0 for an inactive one.
function active_flags(text, count) {
  const flags = base64_bytes(text);
  if (flags.length !== count) throw new Error("active cells: " + flags.length + " flags for the grid's " + count + " cells");
  return flags;
}

// The field's own text: tenths with one decimal.
function field_text(tenths) {
  if (tenths === OVERFLOW_TENTHS) return "******";
  const size = Math.abs(tenths);
  return (tenths < 0 ? "-" : "") + Math.floor(size / 10) + "." + (size % 10);
}

function group_digits(n) { return String(n).replace(/\B(?=(\d{3})+(?!\d))/g, ","); }

// The keys and values of the address's fragment, #key=value&key=value.
function fragment_fields() {
  const wanted = {};
  for (const part of location.hash.replace(/^#/, "").split("&")) {
    const [key, value] = part.split("=");
    if (key) wanted[decodeURIComponent(key)] = decodeURIComponent(value || "");
  }
  return wanted;
}
// The cell size the fragment's fields ask for, where the grid allows it; `cell` otherwise.
function fragment_cell_size(wanted, grid, cell) {
  if (wanted.cell === undefined) return cell;
  const size = parseInt(wanted.cell, 10);
  return allowed_cell_sizes(grid).includes(size) ? size : cell;
}

// ---- the maps ----

// A canvas of one pixel a cell, row 1 on top as the arrays lay it out; `fill`
// sets its pixels, one RGBA word a cell in cell order.
function cell_canvas(grid, fill) {
  const canvas = document.createElement("canvas");
  canvas.width = grid.nx;
  canvas.height = grid.ny;
  const context = canvas.getContext("2d");
  const image = context.createImageData(grid.nx, grid.ny);
  fill(new Uint32Array(image.data.buffer));
  context.putImageData(image, 0, 0);
  return canvas;
}

// Draws a canvas of one pixel a cell on a visible map at `cell` pixels a cell, every cell a sharp square.
function draw_enlarged(map, source, cell) {
  const width = source.width * cell, height = source.height * cell;
  if (map.width !== width) map.width = width;
  if (map.height !== height) map.height = height;
  map.style.width = width + "px";
  map.style.height = height + "px";
  const context = map.getContext("2d");
  context.imageSmoothingEnabled = false;
  context.drawImage(source, 0, 0, width, height);
  return context;
}

// Where a map lies on the page, in CSS pixels, so that a cell can be found in a picture of it.
function mark_place(map, cell) {
  const box = map.getBoundingClientRect();
  map.dataset.left = String(Math.round(box.left + window.scrollX));
  map.dataset.top = String(Math.round(box.top + window.scrollY));
  map.dataset.cell = String(cell);
}

function allowed_cell_sizes(grid) {
  const side = Math.max(grid.nx, grid.ny);
  return CELL_SIZES.filter((s) => s === 1 || s * side <= MAX_CANVAS_SIDE);
}
// The largest cell size at which the whole grid fits in `width` by `height` pixels.
function fit_cell_size(grid, width, height) {
  const wide = Math.max(1, Math.floor(Math.min(width / grid.nx, height / grid.ny)));
  return allowed_cell_sizes(grid).filter((s) => s <= wide).pop() || 1;
}
// The zoom buttons step `view.cell` through the allowed sizes and call `redraw`.
function add_zoom_buttons(grid, view, redraw) {
  const step = (direction) => {
    const sizes = allowed_cell_sizes(grid);
    const at = sizes.indexOf(view.cell) + direction;
    if (at >= 0 && at < sizes.length) { view.cell = sizes[at]; redraw(); }
  };
  $("zoom-out").addEventListener("click", () => step(-1));
  $("zoom-in").addEventListener("click", () => step(1));
}
function show_cell_size(grid, cell) {
  $("cell-size").textContent = cell + (cell === 1 ? " pixel" : " pixels") + " a cell";
  const sizes = allowed_cell_sizes(grid);
  $("zoom-out").disabled = cell === sizes[0];
  $("zoom-in").disabled = cell === sizes[sizes.length - 1];
}

// The tooltip beside the pointer, a line for each [label, text]; it keeps within the window.
function show_tooltip(event, lines) {
  const tooltip = $("tooltip");
  tooltip.textContent = "";
  for (const [label, text] of lines) {
    const line = document.createElement("div");
    const bold = document.createElement("b");
    bold.textContent = label + ": ";
    line.append(bold, text);
    tooltip.append(line);
  }
  tooltip.style.display = "block";
  const room_right = window.innerWidth - event.clientX;
  tooltip.style.left = (room_right > 300 ? event.clientX + 16 : event.clientX - tooltip.offsetWidth - 16) + "px";
  tooltip.style.top = Math.min(event.clientY + 16, window.innerHeight - tooltip.offsetHeight - 4) + "px";
}

// ---- the scales ----

// A scale's colours, SCALE_STEPS RGBA words, as a bar from its lowest value to its highest.
function paint_legend(canvas, words) {
  const context = canvas.getContext("2d");
  const image = context.createImageData(SCALE_STEPS, 1);
  new Uint32Array(image.data.buffer).set(words);
  context.putImageData(image, 0, 0);
}

// A label under a scale's bar, `percent` of the way along; `end` ("first", "last")
// keeps a label at either end within the bar.
function tick_label(text, percent, end) {
  const span = document.createElement("span");
  span.textContent = text;
  span.style.left = percent + "%";
  if (end) span.className = end;
  return span;
}
function fill_ticks(box, ticks) {
  box.textContent = "";
  for (const [text, percent, end] of ticks) box.append(tick_label(text, percent, end));
}

function colour_swatches() {
  for (const [id, colour] of [["swatch-zero", ZERO_RGB], ["swatch-inactive", INACTIVE_RGB], ["swatch-overflow", OVERFLOW_RGB]]) {
    $(id).style.background = rgb_css(colour);
  }
}

const SVG_NS = "http://www.w3.org/2000/svg";
function svg_node(tag, attributes, text) {
  const node = document.createElementNS(SVG_NS, tag);
  for (const [k, a] of Object.entries(attributes)) node.setAttribute(k, a);
  if (text !== undefined) node.textContent = text;
  return node;
}

// ---- the start ----

// The page's data as `decode` makes it, or null where there is none to show:
// the template as it stands holds none and says what it is; data that cannot
// be read is named on the page and nothing is drawn from it.
function decoded_or_notice(report, decode) {
  if (report === null) {
    $("template-notice").hidden = false;
    document.documentElement.dataset.ready = "0";
    return null;
  }
  try {
    return decode(report);
  } catch (error) {
    $("data-error").hidden = false;
    $("data-error").textContent = "This report's data cannot be read (" + error.message + "); make it again with tamvek-report.";
    document.documentElement.dataset.error = error.message;
    return null;
  }
}

// Says on the page's root element that it is drawn, with how many maps, and how long it took.
function mark_ready(maps) {
  document.documentElement.dataset.readyMs = performance.now().toFixed(1);
  document.documentElement.dataset.ready = String(maps);
}
