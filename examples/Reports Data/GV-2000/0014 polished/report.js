// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 14,
  reportType: "RT_POLISH",
  dateTime: "2025-05-03 16:38:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.18 ct"],
    ["Measurements", "5.30 × 5.34 × 3.29 mm"],
    ["Colour grade", "H"],
    ["Clarity grade", "VVS2"],
    ["Cut grade", "Good"],
    ["Fluorescence", "Medium"]
  ]
};
