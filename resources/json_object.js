function get__count(c){var obj=Object.prototype.toString.call(c);if(obj=='[object Array]'){return c.length}else{return 0}}function get__name_All(a){var obj=Object.prototype.toString.call(a);if(obj=='[object Object]'){var ary=new Array();for(var key in a){if(typeof a[key]!=='function'){ary.push(key)}}return ary.join('\r\n')}else{return''}}function get__extend(target,source){if(Object.prototype.toString.call(target)=='[object Array]'){for(var i=0;i<source.length;i++){target.push(source[i])}return target}else{var str_obj;for(var obj in source){str_obj=typeof target[obj];if(str_obj=='string'||str_obj=='boolean'||str_obj=='undefined'){target[obj]=source[obj]}else if(str_obj=='number'){target=target.concat(source)}else if(str_obj=='object'){target[obj]=get__extend(target[obj],source[obj])}}return target}}
// JSON for script engines that have none: JSON.stringify, a JSON.parse that
// accepts nothing but JSON texts, the toJSON methods, and toJSONString and
// parseJSON on every object. Every definition is made only when the engine
// lacks it. Written for ES3: no Array.isArray, no getters, no strict mode.
var JSON;
if (typeof JSON !== 'object' || JSON === null) {
  JSON = {};
}
(function () {
  var toText = Object.prototype.toString;
  var hasOwn = Object.prototype.hasOwnProperty;
  var owns = function (object, name) { return hasOwn.call(object, name); };

  // Deeper texts are refused by JSON.parse, as the program's own loader does.
  var maxNesting = 1000;

  function twoDigits(n) {
    return n < 10 ? '0' + n : String(n);
  }

  if (typeof Date.prototype.toJSON !== 'function') {
    Date.prototype.toJSON = function () {
      if (!isFinite(this.valueOf())) {
        return null;
      }
      return this.getUTCFullYear() + '-' + twoDigits(this.getUTCMonth() + 1) + '-' +
        twoDigits(this.getUTCDate()) + 'T' + twoDigits(this.getUTCHours()) + ':' +
        twoDigits(this.getUTCMinutes()) + ':' + twoDigits(this.getUTCSeconds()) + 'Z';
    };
    var primitiveOf = function () { return this.valueOf(); };
    String.prototype.toJSON = primitiveOf;
    Number.prototype.toJSON = primitiveOf;
    Boolean.prototype.toJSON = primitiveOf;
  }

  // Characters written as escapes: the quote, the backslash, the controls,
  // and the invisible format characters that tools tend to lose or mangle.
  // The quote and the backslash are by far the most common, and are replaced
  // without a call per character.
  var unsafe = /[\\"\x00-\x1f\x7f-\x9f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/;
  var invisible = /[\x00-\x1f\x7f-\x9f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/;
  var invisibleAll = /[\x00-\x1f\x7f-\x9f\u00ad\u0600-\u0604\u070f\u17b4\u17b5\u200c-\u200f\u2028-\u202f\u2060-\u206f\ufeff\ufff0-\uffff]/g;
  var shortEscape = {'\b': '\\b', '\t': '\\t', '\n': '\\n', '\f': '\\f', '\r': '\\r'};

  function escapeCharacter(c) {
    if (owns(shortEscape, c)) {
      return shortEscape[c];
    }
    var hex = c.charCodeAt(0).toString(16);
    return '\\u' + '0000'.substring(hex.length) + hex;
  }

  function quote(text) {
    if (!unsafe.test(text)) {
      return '"' + text + '"';
    }
    var escaped = text.replace(/\\/g, '\\\\').replace(/"/g, '\\"');
    if (invisible.test(escaped)) {
      escaped = escaped.replace(invisibleAll, escapeCharacter);
    }
    return '"' + escaped + '"';
  }

  // One stringify run: the replacer, the indentation and how deep the
  // writer is. A structure that contains itself would nest forever, so depth
  // beyond what JSON.parse accepts is refused as a cycle.
  function Writer(replacer, gap) {
    this.replacerFunction = typeof replacer === 'function' ? replacer : null;
    this.allowed = null;
    if (toText.call(replacer) === '[object Array]') {
      this.allowed = [];
      for (var i = 0; i < replacer.length; i++) {
        var item = replacer[i];
        var kind = toText.call(item);
        if (kind === '[object String]' || kind === '[object Number]') {
          this.allowed.push(String(item));
        }
      }
    }
    this.gap = gap;
    this.indent = '';
    this.depth = 0;
  }

  Writer.prototype.enter = function () {
    if (this.depth >= maxNesting) {
      throw new TypeError('JSON.stringify: cyclic or too deeply nested structure');
    }
    this.depth++;
    var outerIndent = this.indent;
    this.indent += this.gap;
    return outerIndent;
  };

  Writer.prototype.leave = function (parts, opening, closing, outerIndent) {
    var inner = this.indent;
    this.indent = outerIndent;
    this.depth--;
    if (parts.length === 0) {
      return opening + closing;
    }
    if (!this.gap) {
      return opening + parts.join(',') + closing;
    }
    return opening + '\n' + inner + parts.join(',\n' + inner) + '\n' + outerIndent + closing;
  };

  // Primitives are written in place, without a call per element: the engine
  // spends most of its time in calls.
  Writer.prototype.array = function (list) {
    var outerIndent = this.enter();
    var parts = [];
    var plain = !this.replacerFunction;
    for (var i = 0; i < list.length; i++) {
      var item = list[i];
      var kind = typeof item;
      var text;
      if (plain && kind === 'string') {
        text = unsafe.test(item) ? quote(item) : '"' + item + '"';
      } else if (plain && kind === 'number') {
        text = isFinite(item) ? String(item) : 'null';
      } else if (plain && kind === 'boolean') {
        text = String(item);
      } else {
        text = this.value(list, String(i));
      }
      parts.push(text === undefined ? 'null' : text);
    }
    return this.leave(parts, '[', ']', outerIndent);
  };

  Writer.prototype.object = function (object) {
    var outerIndent = this.enter();
    var parts = [];
    var colon = this.gap ? ': ' : ':';
    var plain = !this.replacerFunction;
    var names = this.allowed;
    var count = names ? names.length : 0;
    if (!names) {
      names = [];
      for (var name in object) {
        if (hasOwn.call(object, name)) {
          names.push(name);
        }
      }
      count = names.length;
    }
    for (var i = 0; i < count; i++) {
      var key = names[i];
      var item = object[key];
      var kind = typeof item;
      var text;
      if (plain && kind === 'string') {
        text = unsafe.test(item) ? quote(item) : '"' + item + '"';
      } else if (plain && kind === 'number') {
        text = isFinite(item) ? String(item) : 'null';
      } else if (plain && kind === 'boolean') {
        text = String(item);
      } else {
        text = this.value(object, key);
      }
      if (text !== undefined) {
        parts.push((unsafe.test(key) ? quote(key) : '"' + key + '"') + colon + text);
      }
    }
    return this.leave(parts, '{', '}', outerIndent);
  };

  // The text of holder[key], or undefined when it is not written at all.
  Writer.prototype.value = function (holder, key) {
    var value = holder[key];
    if (value !== null && typeof value === 'object' && typeof value.toJSON === 'function') {
      value = value.toJSON(key);
    }
    if (this.replacerFunction) {
      value = this.replacerFunction.call(holder, key, value);
    }
    var kind = typeof value;
    if (kind === 'object' && value !== null) {
      var type = toText.call(value);
      if (type === '[object Array]') {
        return this.array(value);
      }
      if (type !== '[object Number]' && type !== '[object String]' && type !== '[object Boolean]') {
        return this.object(value);
      }
      value = value.valueOf();
      kind = typeof value;
    }
    switch (kind) {
    case 'string':
      return quote(value);
    case 'number':
      return isFinite(value) ? String(value) : 'null';
    case 'boolean':
      return String(value);
    case 'object':
      return 'null';
    }
    return undefined;
  };

  function gapOf(space) {
    if (space !== null && typeof space === 'object') {
      space = space.valueOf();
    }
    if (typeof space === 'number') {
      var count = Math.min(10, Math.floor(space));
      var spaces = '';
      for (var i = 0; i < count; i++) {
        spaces += ' ';
      }
      return spaces;
    }
    if (typeof space === 'string') {
      return space.substring(0, 10);
    }
    return '';
  }

  if (typeof JSON.stringify !== 'function') {
    JSON.stringify = function (value, replacer, space) {
      if (replacer && typeof replacer !== 'function' && toText.call(replacer) !== '[object Array]') {
        throw new TypeError('JSON.stringify: bad replacer');
      }
      return new Writer(replacer, gapOf(space)).value({'': value}, '');
    };
  }

  // One token of a JSON text, after optional white space: a string, a
  // number, a literal word, or a punctuator. A match must start where the
  // previous one ended, so the token pattern never skips anything.
  var token = /[\t\n\r ]*(?:("[^"\\\x00-\x1f]*(?:\\(?:["\\\/bfnrt]|u[0-9a-fA-F]{4})[^"\\\x00-\x1f]*)*")|(-?(?:0|[1-9][0-9]*)(?:\.[0-9]+)?(?:[eE][+\-]?[0-9]+)?)|(true|false|null)|([{}\[\],:]))/g;
  var trailingSpace = /^[\t\n\r ]*$/;

  // States of the check between tokens.
  var VALUE = 0, FIRST_ELEMENT = 1, FIRST_MEMBER = 2, MEMBER = 3, COLON = 4, AFTER_VALUE = 5;

  // Walks the tokens with an explicit stack of open containers, so that deep
  // nesting costs memory, not recursion. True for exactly one JSON value.
  function isJsonText(text) {
    var open = [];
    var state = VALUE;
    var at = 0;
    var match;
    token.lastIndex = 0;
    while ((match = token.exec(text)) !== null && match.index === at && token.lastIndex > at) {
      at = token.lastIndex;
      var mark = match[4];
      if (state === AFTER_VALUE) {
        var top = open.length ? open[open.length - 1] : '';
        if (mark === ',' && top !== '') {
          state = top === '{' ? MEMBER : VALUE;
        } else if ((mark === ']' && top === '[') || (mark === '}' && top === '{')) {
          open.pop();
        } else {
          return false;
        }
      } else if (state === COLON) {
        if (mark !== ':') {
          return false;
        }
        state = VALUE;
      } else if (state === FIRST_MEMBER && mark === '}') {
        open.pop();
        state = AFTER_VALUE;
      } else if (state === FIRST_MEMBER || state === MEMBER) {
        if (match[1] === undefined || match[1] === '') {
          return false;
        }
        state = COLON;
      } else if (state === FIRST_ELEMENT && mark === ']') {
        open.pop();
        state = AFTER_VALUE;
      } else if (mark === '{' || mark === '[') {
        if (open.length >= maxNesting) {
          return false;
        }
        open.push(mark);
        state = mark === '{' ? FIRST_MEMBER : FIRST_ELEMENT;
      } else if (mark === undefined || mark === '') {
        state = AFTER_VALUE;
      } else {
        return false;
      }
    }
    return state === AFTER_VALUE && open.length === 0 &&
      trailingSpace.test(text.substring(at));
  }

  // The reviver sees every member, innermost first, as in ES5.
  function revive(holder, key, reviver) {
    var value = holder[key];
    if (value !== null && typeof value === 'object') {
      var names = [];
      if (toText.call(value) === '[object Array]') {
        for (var i = 0; i < value.length; i++) {
          names.push(String(i));
        }
      } else {
        for (var name in value) {
          if (owns(value, name)) {
            names.push(name);
          }
        }
      }
      for (var k = 0; k < names.length; k++) {
        var revived = revive(value, names[k], reviver);
        if (revived === undefined) {
          delete value[names[k]];
        } else {
          value[names[k]] = revived;
        }
      }
    }
    return reviver.call(holder, key, value);
  }

  if (typeof JSON.parse !== 'function') {
    JSON.parse = function (text, reviver) {
      text = String(text);
      if (!isJsonText(text)) {
        throw new SyntaxError('JSON.parse: not a JSON text');
      }
      // Legal in JSON strings, but line ends in script source.
      var value = eval('(' + text.replace(/\u2028/g, '\\u2028').replace(/\u2029/g, '\\u2029') + ')');
      if (typeof reviver === 'function') {
        return revive({'': value}, '', reviver);
      }
      return value;
    };
  }

  if (typeof Object.prototype.toJSONString !== 'function') {
    Object.prototype.toJSONString = function (filter) {
      return JSON.stringify(this, filter);
    };
    Object.prototype.parseJSON = function (filter) {
      return JSON.parse(this, filter);
    };
  }
})();
