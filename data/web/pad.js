// The handwriting pad of the Lumiko panel. The panel serves this script and
// recognises what is written on the pad itself: nothing leaves the computer.
// Written for old engines too (the page asks for version-7 compatibility):
// no canvas, no JSON object, no addEventListener required. Strokes are drawn
// with small positioned blocks; pointer events are used where the engine has
// them, mouse events otherwise.
(function (global) {
"use strict";

// --- The strokes and the requests, without a document (tested in node) ---

// A point is kept only when it lies this far (pad pixels) from the last.
var MIN_STEP = 3;
// The longest stroke list sent; old engines cut longer addresses.
var MAX_STROKE_TEXT = 1800;

function Session() {
	this.strokes = [];   // each a flat list x, y, x, y, ...
	this.drawing = null; // the stroke being drawn
	this.sequence = 0;   // number of the latest recognition asked for
}

Session.prototype.begin = function (x, y) {
	this.drawing = [Math.round(x), Math.round(y)];
	this.strokes.push(this.drawing);
	return true;
};

// Returns true when the point was kept.
Session.prototype.extend = function (x, y) {
	var s = this.drawing;
	if (!s) return false;
	x = Math.round(x);
	y = Math.round(y);
	var dx = x - s[s.length - 2], dy = y - s[s.length - 1];
	if (dx * dx + dy * dy < MIN_STEP * MIN_STEP) return false;
	s.push(x, y);
	return true;
};

// Ends the stroke; returns true when it was a stroke at all.
Session.prototype.end = function () {
	var had = this.drawing !== null;
	this.drawing = null;
	return had;
};

Session.prototype.undo = function () {
	this.drawing = null;
	if (this.strokes.length) this.strokes.pop();
	return this.strokes.length;
};

Session.prototype.clear = function () {
	this.drawing = null;
	this.strokes = [];
	this.sequence++;  // answers still on their way are for the old drawing
};

// The stroke list as text, thinned (every other inner point dropped) until it
// fits into `limit` characters.
function strokeText(strokes, limit) {
	var list = strokes;
	for (;;) {
		var parts = [];
		for (var i = 0; i < list.length; i++) parts.push("[" + list[i].join(",") + "]");
		var text = "[" + parts.join(",") + "]";
		if (text.length <= limit) return text;
		var thinner = [], changed = false;
		for (var j = 0; j < list.length; j++) {
			var s = list[j], t = [];
			var n = s.length / 2;
			for (var k = 0; k < n; k++) {
				if (k === 0 || k === n - 1 || k % 2 === 0) t.push(s[2 * k], s[2 * k + 1]);
				else changed = true;
			}
			thinner.push(t);
		}
		if (!changed) return text;  // nothing left to drop: sent as it is
		list = thinner;
	}
}

// The address of a recognition of what is on the pad now.
Session.prototype.request = function (service) {
	this.sequence++;
	return service + "recognise?n=" + this.sequence + "&s=" + strokeText(this.strokes, MAX_STROKE_TEXT);
};

// Whether an answer to request `n` is still wanted.
Session.prototype.current = function (n) {
	return n === this.sequence && this.strokes.length > 0;
};

// --- The pad in the page ---

var SIZE = 236;       // the writing square
var DOT = 4;          // the pen's width
var CANDIDATES = 10;
var active = null;    // the pad answers go to

function on(node, type, handler) {
	if (node.addEventListener) node.addEventListener(type, handler, false);
	else node.attachEvent("on" + type, handler);
}
function off(node, type, handler) {
	if (node.removeEventListener) node.removeEventListener(type, handler, false);
	else node.detachEvent("on" + type, handler);
}
function stop(e) {
	if (e.preventDefault) e.preventDefault();
	e.returnValue = false;
	if (e.stopPropagation) e.stopPropagation();
	e.cancelBubble = true;
	return false;
}

function box(doc, parent, css, cls) {
	var d = doc.createElement("div");
	d.style.cssText = "position:absolute;overflow:hidden;" + css;
	if (cls) d.className = cls;
	parent.appendChild(d);
	return d;
}

function button(doc, parent, text, css, action) {
	var b = box(doc, parent, "cursor:pointer;text-align:center;border:1px solid #7f9cc7;background:#fff;" +
		"font-size:14px;" + css);
	b.innerHTML = text;
	on(b, "mousedown", stop);
	on(b, "click", function (e) { stop(e || global.event); action(); });
	return b;
}

function HandwritingPad(container, options) {
	var doc = container.ownerDocument || global.document;
	var self = this;
	this.options = options || {};
	this.service = global.padService || "lumiko-pad:/";
	this.session = new Session();
	this.doc = doc;
	this.scripts = [];
	container.innerHTML = "";

	// The writing square with its guide: a frame, the middle lines dashed.
	var area = box(doc, container, "left:6px;top:2px;width:" + SIZE + "px;height:" + SIZE + "px;" +
		"border:1px solid #7f9cc7;background:#fffdf5;cursor:crosshair;");
	area.id = "padArea";
	var half = Math.floor(SIZE / 2);
	box(doc, area, "left:0;top:" + half + "px;width:" + SIZE + "px;height:0;border-top:1px dashed #e0c8c8;font-size:0;");
	box(doc, area, "left:" + half + "px;top:0;width:0;height:" + SIZE + "px;border-left:1px dashed #e0c8c8;font-size:0;");
	this.ink = box(doc, area, "left:0;top:0;width:" + SIZE + "px;height:" + SIZE + "px;");
	this.area = area;

	var side = box(doc, container, "left:252px;top:2px;width:170px;height:" + (SIZE + 2) + "px;overflow:visible;");
	button(doc, side, "撤销一笔", "left:0;top:0;width:80px;height:30px;line-height:30px;", function () { self.undo(); });
	button(doc, side, "清除笔迹", "left:88px;top:0;width:80px;height:30px;line-height:30px;", function () { self.clear(); });
	this.tip = box(doc, side, "left:0;top:42px;width:168px;height:150px;font-size:13px;line-height:20px;color:#555;");
	this.tip.id = "padTip";
	this.tip.innerHTML = "在左边的方格里写一个字，写完后在下面点选候选字，选中的字才会送出。" +
		"第一个候选字不一定对，请看准再点。";
	this.status = box(doc, side, "left:0;top:200px;width:168px;height:36px;font-size:12px;line-height:18px;color:#b03a2e;");
	this.status.id = "padStatus";

	this.cells = [];
	var row = box(doc, container, "left:6px;top:" + (SIZE + 8) + "px;width:418px;height:46px;");
	row.id = "padCandidates";
	for (var i = 0; i < CANDIDATES; i++) this.cells.push(this.cell(row, i));

	this.bindPointer();
	active = this;
}

HandwritingPad.prototype.cell = function (row, i) {
	var self = this;
	var c = box(this.doc, row, "left:" + (i * 42) + "px;top:0;width:39px;height:44px;line-height:44px;" +
		"text-align:center;font-size:24px;cursor:pointer;border:1px solid #c9d3e0;background:#fff;", "padCandidate");
	on(c, "mousedown", stop);
	on(c, "click", function (e) {
		stop(e || global.event);
		self.pick(i);
	});
	return c;
};

// Where an event lies in the writing square.
HandwritingPad.prototype.position = function (e) {
	var r = this.area.getBoundingClientRect();
	var x = e.clientX - r.left - 1, y = e.clientY - r.top - 1;
	return [Math.max(0, Math.min(SIZE, x)), Math.max(0, Math.min(SIZE, y))];
};

HandwritingPad.prototype.bindPointer = function () {
	var self = this, area = this.area, doc = this.doc;
	var down = false;
	function start(e) {
		e = e || global.event;
		if (e.button !== undefined && e.button > 1) return;  // not the left button or a pen
		down = true;
		var p = self.position(e);
		self.session.begin(p[0], p[1]);
		self.stroke = box(doc, self.ink, "left:0;top:0;width:" + SIZE + "px;height:" + SIZE + "px;");
		self.dot(p[0], p[1]);
		self.last = p;
		return stop(e);
	}
	function move(e) {
		if (!down) return;
		e = e || global.event;
		var p = self.position(e);
		self.line(self.last, p);
		self.last = p;
		self.session.extend(p[0], p[1]);
		return stop(e);
	}
	function end(e) {
		if (!down) return;
		down = false;
		e = e || global.event;
		if (e && e.clientX !== undefined) {
			var p = self.position(e);
			self.line(self.last, p);
			self.session.extend(p[0], p[1]);
		}
		if (area.releaseCapture) area.releaseCapture();
		if (self.session.end()) self.recognise();
	}
	if (global.PointerEvent) {
		area.style.touchAction = "none";
		on(area, "pointerdown", function (e) {
			if (area.setPointerCapture) area.setPointerCapture(e.pointerId);
			return start(e);
		});
		on(area, "pointermove", move);
		on(area, "pointerup", end);
		on(area, "pointercancel", end);
	} else {
		on(area, "mousedown", function (e) {
			if (area.setCapture) area.setCapture();
			return start(e);
		});
		on(doc, "mousemove", move);
		on(doc, "mouseup", end);
		if (area.setCapture) on(area, "losecapture", function () { end(null); });
	}
};

HandwritingPad.prototype.dot = function (x, y) {
	box(this.doc, this.stroke, "left:" + Math.round(x - DOT / 2) + "px;top:" + Math.round(y - DOT / 2) +
		"px;width:" + DOT + "px;height:" + DOT + "px;background:#202020;font-size:0;line-height:0;");
};

// Blocks every other pixel along the segment, so the line looks whole.
HandwritingPad.prototype.line = function (a, b) {
	var dx = b[0] - a[0], dy = b[1] - a[1];
	var steps = Math.ceil(Math.max(Math.abs(dx), Math.abs(dy)) / 2);
	for (var i = 1; i <= steps; i++) this.dot(a[0] + dx * i / steps, a[1] + dy * i / steps);
};

HandwritingPad.prototype.recognise = function () {
	if (!this.session.strokes.length) return;
	var s = this.doc.createElement("script");
	s.type = "text/javascript";
	s.src = this.session.request(this.service);
	var self = this, n = this.session.sequence;
	s.onerror = function () {
		if (n === self.session.sequence) self.say("手写识别没有回应。");
	};
	var head = this.doc.getElementsByTagName("head")[0] || this.doc.body;
	head.appendChild(s);
	this.scripts.push(s);
	// Only the latest few request scripts stay in the page.
	while (this.scripts.length > 4) {
		var old = this.scripts.shift();
		if (old.parentNode) old.parentNode.removeChild(old);
	}
};

HandwritingPad.prototype.say = function (text) {
	this.status.innerHTML = "";
	this.status.appendChild(this.doc.createTextNode(text));
};

HandwritingPad.prototype.showCandidates = function (list) {
	this.candidates = list || [];
	for (var i = 0; i < this.cells.length; i++) {
		this.cells[i].innerHTML = "";
		if (i < this.candidates.length) this.cells[i].appendChild(this.doc.createTextNode(this.candidates[i]));
	}
};

HandwritingPad.prototype.pick = function (i) {
	if (!this.candidates || i >= this.candidates.length) return;
	var text = this.candidates[i];
	if (this.options.onResult) this.options.onResult(text);
	this.clear();
};

HandwritingPad.prototype.undo = function () {
	if (this.ink.lastChild) this.ink.removeChild(this.ink.lastChild);
	if (this.session.undo()) this.recognise();
	else this.clear();
};

HandwritingPad.prototype.clear = function () {
	this.session.clear();
	this.ink.innerHTML = "";
	this.showCandidates([]);
	this.say("");
};

HandwritingPad.prototype.show = function () {};
HandwritingPad.prototype.hide = function () {};

// The service answers a recognition by calling one of these.
HandwritingPad.answer = function (n, list) {
	if (!active || !active.session.current(n)) return;
	active.say("");
	active.showCandidates(list);
};
HandwritingPad.refuse = function (n, reason) {
	if (!active || n !== active.session.sequence) return;
	active.say("未能识别：" + reason);
};

HandwritingPad.Session = Session;
HandwritingPad.strokeText = strokeText;
global.HandwritingPad = HandwritingPad;
})(typeof window !== "undefined" ? window : this);
